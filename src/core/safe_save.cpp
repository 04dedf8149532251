#include "core/safe_save.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

#include "core/in_place_write.h"
#include "core/save_target.h"

namespace {

// Devices and FIFOs take the contents as a stream; they are never replaced.
TFileResult WriteIntoStream(const TSaveTarget& target, std::string_view content, const TStopAsked& stop)
{
    TFileResult opened;
    const int fd = OpenStreamForWriting(target.Path, S_ISFIFO(target.Info.st_mode), opened);
    if (fd < 0)
        return opened;
    if (!WriteAllWithoutSigpipe(fd, content, stop))
        return CloseWithResult(fd, WriteFailure(errno));
    return CloseWithResult(fd, {});
}

TFileResult ReplaceThroughTempFile(const TSaveTarget& target, std::string_view content, const TStopAsked& stop)
{
    std::string tempName;
    const int fd = CreateTempFileBeside(target.Path, tempName);
    if (fd < 0) {
        if (target.Exists && FolderRefusesNewFiles(errno))
            return OverwriteInPlace(target.Path, target.Info, content, stop);
        return SystemFailure(errno);
    }
    if (target.Exists)
        TakeOwnerAndMode(fd, target.Info);
    if (!WriteAll(fd, content, stop) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(tempName.c_str());
        return WriteFailure(error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        return SystemFailure(error);
    }
    // The last moment to give up with the old file untouched.
    if (StopAsked(stop)) {
        ::unlink(tempName.c_str());
        return TFileResult{SaveStoppedText};
    }
    if (::rename(tempName.c_str(), target.Path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        // A sticky folder lets only the owner replace a file it may write.
        if (target.Exists && FolderRefusesNewFiles(error))
            return OverwriteInPlace(target.Path, target.Info, content, stop);
        return SystemFailure(error);
    }
    SyncFolder(target.Path);
    return {};
}

}  // namespace

TFileResult WriteFileReplacing(const std::string& fileName, std::string_view content, const TStopAsked& stop)
{
    TSaveTarget target;
    TFileResult result = ResolveSaveTarget(fileName, target);
    TSaveWay way = TSaveWay::Replace;
    if (result.Ok())
        result = ChooseSaveWay(fileName, target, way);
    if (!result.Ok())
        return result;
    switch (way) {
    case TSaveWay::Stream:
        return WriteIntoStream(target, content, stop);
    case TSaveWay::InPlace:
        return OverwriteInPlace(target.Path, target.Info, content, stop);
    case TSaveWay::Replace:
        break;
    }
    return ReplaceThroughTempFile(target, content, stop);
}
