#pragma once

#include <sys/stat.h>
#include <string>
#include <string_view>

#include "core/save_steps.h"

// The copy of a file's old contents that an in-place write keeps beside it
// ("NAME.tovu-kopia") until the new contents are on disk. A crash leaves it
// there: the file may then hold the new contents' start and the old tail.

// The mark of the copy's name.
inline constexpr std::string_view OldContentsMark = ".tovu-kopia";

// The copy's name for the file at path: NAME.tovu-kopia beside it. A name
// too long for that keeps its start and gets a hash of the whole name
// ("START~0123456789abcdef.tovu-kopia"), so two long names that share their
// start never share a copy.
std::string OldContentsCopyName(const std::string& path);

// What lies at the copy's name of a file.
struct TLeftoverCopy {
    enum class TKind {
        None,
        // An ordinary file of the file's owner or of this user: a copy an
        // interrupted write left.
        Copy,
        // Anything else (a link, a folder, a FIFO, another user's file):
        // not Tovu's, never read, written or removed.
        Foreign,
    };
    TKind Kind = TKind::None;
    std::string Name;
    // For a foreign entry: what it is ("dowiązanie symboliczne", "folder").
    std::string What;
};

// Looks at the copy's name of the file at path (fileInfo: its stat).
TLeftoverCopy FindLeftoverCopy(const std::string& path, const struct stat& fileInfo);

// Why a save is refused because of what lies at the copy's name.
std::string LeftoverCopyRefusal(const TLeftoverCopy& found);

// For a reader: when a copy of an interrupted write lies beside the file
// that fileName names (through links too), the warning that the file may
// be half-written; empty otherwise.
std::string LeftoverCopyNotice(const std::string& fileName);

// Copies the first size bytes of from to the same offsets of to, skipping
// what the file system reports as holes (SEEK_DATA), so that a sparse file
// costs only its data; to must read as zeros there (new, or cut to 0) and
// be cut to size by the caller. stop is asked between pieces; false with
// errno set (ECANCELED when stop said so).
bool CopyFileData(int from, int to, off_t size, const TStopAsked& stop);
