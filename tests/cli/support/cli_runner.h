#pragma once

#include <csignal>
#include <string>
#include <vector>

// Runs the real tovu-cli, the way a script or a person at a terminal would.
struct TCliOptions {
    // LC_ALL for the run; the machine's own settings never leak in.
    std::string Locale = "pl_PL.UTF-8";
    // Sends InterruptSignal (Ctrl+C's SIGINT unless set) this many
    // milliseconds after the start; -1 never.
    int InterruptAfterMs = -1;
    int InterruptSignal = SIGINT;
    // Standard output / error on a pseudo-terminal instead of a pipe.
    bool StdoutOnTerminal = false;
    // Standard output opened for writing on this file (a device, say)
    // instead of a pipe; Out then stays empty.
    std::string StdoutPath = {};
    bool StderrOnTerminal = false;
    // Standard input: /dev/null, or a pipe that carries Input and is then
    // closed, unless the writer holds it open (a writer that never finishes).
    bool InputPipe = false;
    std::string Input = {};
    bool HoldInputOpen = false;
    // The address space the program may take (ulimit -v), in KiB; 0 for
    // the runner's own.
    long AddressSpaceKiB = 0;
};

// The address sanitizer reserves terabytes of shadow memory as a program
// starts, so under an address-space limit its build cannot even begin.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool AddressLimitsHold = false;
#else
inline constexpr bool AddressLimitsHold = true;
#endif

struct TCliRun {
    // The exit status, or 128 + the signal that ended the program.
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

TCliRun RunCli(const std::vector<std::string>& args, const TCliOptions& options = {});

// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A fresh directory under /tmp, removed with everything in it at the end.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    std::string Path(const std::string& name) const { return FPath + "/" + name; }
    // Writes a point-set file, "X; Y" CR LF per point.
    std::string WritePoints(const std::string& name, const std::vector<std::pair<int, int>>& points) const;

private:
    std::string FPath;
};

// The C library's text for a system error in a locale (by default the one
// the runs use): what the program's error lines must quote there.
std::string SystemErrorIn(int errorNumber, const std::string& locale = TCliOptions().Locale);

std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
