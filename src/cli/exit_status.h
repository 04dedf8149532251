#pragma once

#include <stdexcept>
#include <string>

// What a script sees of a run: 0 done, 1 a file could not be read or
// written or the point set does not suit the method, 2 the command line was
// wrong, 128 + the signal's number when stopped by Ctrl+C (130), SIGTERM
// (143) or SIGHUP (129): during a search after the best route so far was
// reported, before one at once (interrupt.h).
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// A wrong command line. The text is one line in Polish, without the
// program's name; whoever catches it adds where to find help.
class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
