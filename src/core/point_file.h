#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/point_set.h"

// The ".tvu" point-set file: one "X; Y" line per point, CR LF after every
// line, no header. Only coordinates are stored.

// Lines as the reader sees them: CR LF, a lone CR and a lone LF all end a
// line, a break at the very end starts no further line, and a NUL byte ends
// the text.
std::vector<std::string_view> SplitPointFileLines(std::string_view text);

// Every line yields a point, an unreadable one too (its parts read as 0).
TPointArray ParsePointSet(std::string_view text);
std::string FormatPointSet(const TPointArray& points);

// Outcome of a file operation: empty ErrorText means success.
struct TFileResult {
    std::string ErrorText;
    bool Ok() const { return ErrorText.empty(); }
};

// The system's description of an error number, without the trailing blanks,
// line breaks and periods some systems put after it.
std::string SystemErrorText(int errorNumber);

TFileResult ReadWholeFile(const std::string& fileName, std::string& content);

// Writes to a temporary file beside the target and renames it over the
// target only once every byte is on disk, so a failed save never destroys
// the file that was there.
TFileResult WriteFileReplacing(const std::string& fileName, std::string_view content);

// Reads and parses a point-set file, refusing one with more than MaxPoints
// lines. points is written only on success.
TFileResult ReadPointSetFile(const std::string& fileName, TPointArray& points);
