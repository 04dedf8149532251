#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/growing_file.h"
#include "core/progress.h"

// The improvements of one search as it finds them: the time since it began
// and the length, each shorter than the one before, ending at the length
// reported. Written as CSV ("elapsed_ms,length", C-locale numbers) line by
// line as they come, so a file being watched grows with the search, and
// kept for the JSON result. The file keeps every rule of a save
// (TGrowingFile).
class TImprovementTrace {
public:
    struct TImprovement {
        int64_t ElapsedMs = 0;
        double Length = 0.0;
    };

    TImprovementTrace() = default;
    TImprovementTrace(const TImprovementTrace&) = delete;
    TImprovementTrace& operator=(const TImprovementTrace&) = delete;

    // Starts the CSV in fileName ("-": standard output; empty: none, the
    // improvements are only kept). A file that can't be made is one error
    // line naming it, and false.
    bool Open(const std::string& command, const std::string& fileName);
    // An offer of the search; only a shorter route than the last is one.
    void Offer(const TRouteOffer& offer);
    // Ends the CSV; a write that failed on the way is one error line, and
    // false.
    bool Finish();

    const std::vector<TImprovement>& Improvements() const { return FImprovements; }
    // [{"elapsed_ms": 3, "length": 1234.5}, ...]
    std::string JsonArray() const;

private:
    void Write(const std::string& text);

    std::string FCommand;
    std::string FFileName;
    TGrowingFile FFile;
    bool FToFile = false;
    bool FToStandardOutput = false;
    std::vector<TImprovement> FImprovements;
};
