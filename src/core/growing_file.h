#pragma once

#include <string>
#include <string_view>

#include "core/file_result.h"
#include "core/save_steps.h"
#include "core/save_target.h"

// A file written a piece at a time while work goes on (a log of a search
// that the user may watch grow), under the rules every save keeps
// (safe_save): the same links are followed or refused, the same targets
// refused (read-only, not writable, a folder, a socket, a block device).
// - An ordinary file, or a new one: a new file beside it, with the old one's
//   permission bits and owner, takes its place at once with the first piece
//   whole in it (the old contents are never mixed in); later pieces are
//   appended to it.
// - A character device or a FIFO is written as a stream; a FIFO without a
//   reader is refused at once instead of waited on.
// - A file with other hard links, or one in a folder that takes no new
//   file, is written in place once at the end (OverwriteInPlace), so its
//   other names never see a part of it.
// stop is asked only while a write waits on a stream that takes nothing: a
// search stopped by it still gets its last lines written.
class TGrowingFile {
public:
    TGrowingFile() = default;
    ~TGrowingFile();
    TGrowingFile(const TGrowingFile&) = delete;
    TGrowingFile& operator=(const TGrowingFile&) = delete;

    // Starts the file with first; a failure leaves the old file and nothing
    // beside it.
    TFileResult Open(const std::string& fileName, std::string_view first, TStopAsked stop = {});
    // The next piece. After a failure the rest is dropped; Finish tells it.
    void Append(std::string_view text);
    // Ends the file (synced); the first failure of the way, if any. stop
    // is asked as a save asks it, for the write in place at the end.
    TFileResult Finish(const TStopAsked& stop = {});

private:
    TFileResult Failed(int error);

    TSaveTarget FTarget;
    TStopAsked FStop;
    int FFd = -1;
    bool FStream = false;
    // Written at the end, in place.
    bool FDeferred = false;
    std::string FDeferredText;
    TFileResult FFailure;
};
