#pragma once

#include <string>
#include <string_view>

#include "core/file_result.h"
#include "core/save_steps.h"
#include "core/save_target.h"

// Gives fileName the new contents the way the user means it:
// - symbolic links, at the end of the name or in its folders, are followed
//   (ResolveSaveTarget) and the file they lead to receives the contents;
//   but a link in a sticky folder that everyone may write (like /tmp) is
//   followed only when it belongs to the folder's owner or to the user who
//   saves, as the system itself does for links it follows: another user may
//   have planted it there;
// - an ordinary file is replaced through a temporary file beside it
//   (".NAME.tovu-XXXXXX") that is renamed over it only once every byte is on
//   disk, so a save killed at any moment leaves the old or the new contents
//   whole; the file keeps its permission bits, and its owner and group where
//   the process may set them;
// - a file without any write permission bit is read-only, for root too; a
//   file the user may not write is refused, even in a writable folder;
// - a file with other hard links, or one in a folder where no temporary file
//   may be made, is written in place under a lock with a copy of its old
//   contents beside it (OverwriteInPlace), so every name sees the new
//   contents;
// - a character device or a FIFO is written in place, as cp does, waiting
//   while it takes nothing; a folder, a socket or a block device is refused.
// stop is asked while the save waits or writes; when it says yes, the save
// is given up (SaveStoppedText), the old file whole. Nothing is left behind
// on failure.
TFileResult WriteFileReplacing(const std::string& fileName, std::string_view content, const TStopAsked& stop = {});
