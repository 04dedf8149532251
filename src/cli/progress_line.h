#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "core/number_text.h"

// The line on standard error that tells a person at a terminal how far a
// long search has come: its status text, units done of how many, the rate
// and the time left. It is drawn over itself with a carriage return and
// wiped before the results go to standard output.
class TProgressLine {
public:
    // Off unless standard error is a terminal: a log file should not fill
    // up with carriage returns.
    TProgressLine();

    // unitWord is the genitive plural of what a step is ("dróg"); total 0
    // means the number of steps is not known beforehand.
    void Start(const std::string& unitWord, int64_t total, const TNumberFormat& format);
    // For work that learns its size only once it runs.
    void SetTotal(int64_t total) { FTotal = total; }
    // Redraws the line, at most four times per second.
    void Update(int64_t done, const std::string& status);
    void Clear();

private:
    using TClock = std::chrono::steady_clock;

    void Draw(const std::string& text);

    bool FEnabled = false;
    bool FStarted = false;
    std::string FUnitWord;
    int64_t FTotal = 0;
    TNumberFormat FFormat;
    TClock::time_point FStart;
    TClock::time_point FLastDraw;
    size_t FShownWidth = 0;
};

// "12 345 z 479 001 600 dróg, 9 876/s, zostało ok. 0:00:47 | status", the
// separators those of format; the rate and time left only once they can be
// told.
std::string ProgressText(const std::string& status, int64_t done, int64_t total, const std::string& unitWord,
                         double elapsedSeconds, const TNumberFormat& format);
