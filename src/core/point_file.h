#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/file_result.h"
#include "core/point_set.h"
#include "core/safe_save.h"

// The ".tvu" point-set file: one "X; Y" line per point, CR LF after every
// line, no header. Only coordinates are stored.

// Lines as the reader sees them: CR LF, a lone CR and a lone LF all end a
// line, a break at the very end starts no further line, and a NUL byte ends
// the text. A UTF-8 byte-order mark at the start is no part of the first
// line: editors put it there, and it would make the first X unreadable.
std::vector<std::string_view> SplitPointFileLines(std::string_view text);

// Every line yields a point, an unreadable one too (its parts read as 0).
TPointArray ParsePointSet(std::string_view text);
std::string FormatPointSet(const TPointArray& points);

// The text a save writes, refusing a set of more than MaxPoints points: the
// reader would refuse the file back.
TFileResult FormatPointSetForSave(const TPointArray& points, std::string& text);

// The text of a point file is read whole before it is parsed; a file whose
// lines would take more memory than this is refused instead.
inline constexpr size_t MaxPointTextBytes = 64u * 1024 * 1024;

// Reads and parses a point-set file, refusing one with more than MaxPoints
// lines or more than MaxPointTextBytes of text. Reading stops at the first
// NUL and as soon as a limit is passed, so memory stays bounded whatever the
// file holds. "/dev/stdin" is standard input, whatever it is; folders,
// FIFOs, sockets and devices other than terminals and the memory devices
// (/dev/null, /dev/zero...) are refused. points is written only on success.
TFileResult ReadPointSetFile(const std::string& fileName, TPointArray& points);

// The bounded read under ReadPointSetFile: the text of a file of at most
// maxLines lines and maxBytes bytes, refused as ReadPointSetFile refuses
// (a text of more than maxLines lines names maxPoints as the most points).
// On a refusal text holds what was read before the limit, for a reader that
// can tell more from the start of the file.
TFileResult ReadPointFileText(const std::string& fileName, size_t maxLines, std::string& text,
                              size_t maxBytes = MaxPointTextBytes, int32_t maxPoints = MaxPoints);
