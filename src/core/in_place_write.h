#pragma once

#include <sys/stat.h>
#include <string>
#include <string_view>

#include "core/file_result.h"
#include "core/save_steps.h"

// The mark of the copy of a file's old contents that an in-place write
// keeps beside it ("NAME.tovu-kopia") until the new contents are on disk.
inline constexpr std::string_view OldContentsMark = ".tovu-kopia";

// Writes content over the ordinary file at path in place, so that every
// other name of it sees the change, the way careful editors do:
// - an exclusive lock (flock) is held on the file for the whole write, so
//   two writers take turns;
// - the old contents are copied beside it first ("NAME.tovu-kopia", synced),
//   and the copy goes only once the new contents are whole and synced: a
//   crash half-way leaves the copy with the old contents whole. A copy found
//   there already is left alone and refuses the write, since it may hold
//   the only whole contents after an earlier crash;
// - in a folder that takes no new file there is no copy; the room for the
//   new contents is taken before a byte is overwritten all the same;
// - a write that fails half-way puts the old contents back from the copy.
// expected is what the caller found at path: a different file there now is
// refused. stop is asked while waiting for the lock and before the first
// byte is overwritten; after that the write is finished.
TFileResult OverwriteInPlace(const std::string& path, const struct stat& expected, std::string_view content,
                             const TStopAsked& stop);
