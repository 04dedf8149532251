#pragma once

#include <sys/stat.h>
#include <string>
#include <string_view>

#include "core/file_result.h"
#include "core/old_contents_copy.h"
#include "core/save_steps.h"

// Writes content over the ordinary file at path in place, so that every
// other name of it sees the change, the way careful editors do:
// - an exclusive lock (flock) is held on the file for the whole write, so
//   two writers take turns;
// - the old contents are copied beside it first (OldContentsCopyName,
//   synced, with the file's owner and permission bits), and the copy goes
//   only once the new contents are whole and synced: a crash half-way
//   leaves the copy with the old contents whole. Holes of a sparse file are
//   not copied, and stop is asked between the pieces of the copy. A copy
//   found there already is left alone and refuses the write, since it may
//   hold the only whole contents after an earlier crash; anything else
//   there (a link, a folder, another user's file) is not Tovu's: it is left
//   alone and refuses the write too;
// - in a folder that takes no new file there is no copy; the room for the
//   new contents is taken before a byte is overwritten all the same;
// - a write that fails half-way puts the old contents back from the copy.
// expected is what the caller found at path: a different file there now is
// refused. stop is asked while waiting for the lock, while copying and
// before the first byte is overwritten; after that the write is finished.
TFileResult OverwriteInPlace(const std::string& path, const struct stat& expected, std::string_view content,
                             const TStopAsked& stop);

// Puts back the old contents from the copy an interrupted in-place write
// left beside the file fileName names (FindLeftoverCopy), in place under
// the lock so every name of the file sees them, and removes the copy once
// they are on disk. A failure leaves the copy.
TFileResult RestoreOldContents(const std::string& fileName);
