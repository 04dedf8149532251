#pragma once

#include <sys/stat.h>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/file_result.h"

// The steps that the ways of saving a file share (safe_save, in_place_write).

// Asked while a save waits or writes: true gives the save up. Empty: the
// save never gives up.
using TStopAsked = std::function<bool()>;

// What a save returns when it was given up.
inline constexpr const char* SaveStoppedText = "Zapis przerwano";
inline constexpr const char* NoFifoReaderText = "Nikt nie czyta z tego potoku (FIFO)";

inline bool StopAsked(const TStopAsked& stop)
{
    return stop && stop();
}

// The folder part with its slash ("" for a bare name), and the name in it.
std::string FolderPrefix(const std::string& path);
std::string BaseName(const std::string& path);

// The path of a file beside path named before + NAME + after, NAME cut
// short if needed (never inside a UTF-8 character) so that the name, with
// extraBytes more to come, still fits a folder entry.
std::string NameBeside(const std::string& path, std::string_view before, std::string_view after, size_t extraBytes = 0);

// Writes all of content at fd's offset, for blocking and non-blocking
// descriptors alike: a stream that takes nothing is waited on, and stop is
// asked between the pieces and while waiting (with onlyWhileWaiting, only
// while waiting). False with errno set on failure; errno is ECANCELED when
// stop gave the write up.
bool WriteAll(int fd, std::string_view content, const TStopAsked& stop, bool onlyWhileWaiting = false);

// The failure for errno after a step: SaveStoppedText for ECANCELED.
TFileResult WriteFailure(int error);

// Syncs the folder of path, so that a new or renamed entry is on disk too.
void SyncFolder(const std::string& path);

// Closes fd; a failing close turns a success into its failure.
TFileResult CloseWithResult(int fd, TFileResult result);

// WriteAll for a stream whose reader may go away: SIGPIPE, which would end
// the whole program, is held back during the write (EPIPE instead).
bool WriteAllWithoutSigpipe(int fd, std::string_view content, const TStopAsked& stop, bool onlyWhileWaiting = false);

// Opens a character device or a FIFO at path for writing, non-blocking, so
// that a FIFO nobody reads fails at once (NoFifoReaderText) instead of
// holding the program until a reader comes; it stays non-blocking, so that
// a reader who never reads holds a write only until stop says so. -1 with
// the failure in result.
int OpenStreamForWriting(const std::string& path, bool isFifo, TFileResult& result);

// Creates a new file beside path named ".NAME.tovu-XXXXXX" (the last six
// random), like any new file, so the umask and the folder's default rules
// apply; O_EXCL makes sure no file already there is taken over. -1 with
// errno set on failure.
int CreateTempFileBeside(const std::string& path, std::string& tempName);

// Gives the file at fd the permission bits of existing, and its owner and
// group where the process may set them (where neither may be set, it keeps
// the process's own, as a new file written by any editor would).
void TakeOwnerAndMode(int fd, const struct stat& existing);

// Whether a failure to make a file (or to rename one) comes from the folder
// refusing it, where a file already there may still be written in place.
bool FolderRefusesNewFiles(int error);
