#pragma once

#include <sys/stat.h>
#include <string>

#include "core/file_result.h"

// Where a save through a name lands, and how it may go there. Every way of
// writing a file (safe_save, growing_file) starts here, so they all keep
// the same rules.

struct TSaveTarget {
    // The file the save lands in: the name as given when no link was met
    // on the way, else the path the links led to.
    std::string Path;
    bool Exists = false;
    // lstat of Path when it exists.
    struct stat Info {};
};

// Resolves fileName part by part as the system does, following every
// symbolic link on the way (relative ones from the link's folder, at most
// 40), so that a link to a file not made yet names the file to create. The
// rule the system keeps for links it follows itself (protected_symlinks) is
// applied to each link met, in the folders of the path as at its end: in a
// sticky folder that everyone may write (like /tmp), only a link of the
// folder's owner or of the user who saves is followed, since another user
// may have planted it there.
TFileResult ResolveSaveTarget(const std::string& fileName, TSaveTarget& target);

// How a save may reach an existing or new target.
enum class TSaveWay {
    // A temporary file beside the target is renamed over it.
    Replace,
    // Written over in place, so every name of the file sees it (other hard
    // links).
    InPlace,
    // A character device or a FIFO takes the contents as a stream.
    Stream,
};

// The way for target, or why none: a folder, a socket or a block device;
// a file without any write permission bit (read-only, for root too); a
// file the user may not write; a file with the copy of an interrupted
// in-place write beside it (old_contents_copy), until the user has looked
// at both. fileName is the name the user gave, for the messages.
TFileResult ChooseSaveWay(const std::string& fileName, const TSaveTarget& target, TSaveWay& way);
