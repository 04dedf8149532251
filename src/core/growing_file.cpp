#include "core/growing_file.h"

#include <unistd.h>
#include <cerrno>

#include "core/in_place_write.h"

TGrowingFile::~TGrowingFile()
{
    if (FFd >= 0)
        ::close(FFd);
}

TFileResult TGrowingFile::Failed(int error)
{
    if (FFailure.Ok())
        FFailure = WriteFailure(error);
    return FFailure;
}

TFileResult TGrowingFile::Open(const std::string& fileName, std::string_view first, TStopAsked stop)
{
    FStop = std::move(stop);
    TFileResult result = ResolveSaveTarget(fileName, FTarget);
    TSaveWay way = TSaveWay::Replace;
    if (result.Ok())
        result = ChooseSaveWay(fileName, FTarget, way);
    if (!result.Ok())
        return result;
    if (way == TSaveWay::Stream) {
        FStream = true;
        FFd = OpenStreamForWriting(FTarget.Path, S_ISFIFO(FTarget.Info.st_mode), result);
        if (FFd < 0)
            return result;
        if (!WriteAllWithoutSigpipe(FFd, first, FStop, true)) {
            const int error = errno;
            ::close(FFd);
            FFd = -1;
            return WriteFailure(error);
        }
        return {};
    }
    if (way == TSaveWay::InPlace) {
        FDeferred = true;
        FDeferredText = first;
        return {};
    }
    std::string tempName;
    const int fd = CreateTempFileBeside(FTarget.Path, tempName);
    if (fd < 0) {
        const int error = errno;
        if (FTarget.Exists && FolderRefusesNewFiles(error)) {
            FDeferred = true;
            FDeferredText = first;
            return {};
        }
        return SystemFailure(error);
    }
    if (FTarget.Exists)
        TakeOwnerAndMode(fd, FTarget.Info);
    if (!WriteAll(fd, first, {}) || ::fsync(fd) != 0 || ::rename(tempName.c_str(), FTarget.Path.c_str()) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(tempName.c_str());
        // A sticky folder lets only the owner replace a file it may write.
        if (FTarget.Exists && FolderRefusesNewFiles(error)) {
            FDeferred = true;
            FDeferredText = first;
            return {};
        }
        return WriteFailure(error);
    }
    SyncFolder(FTarget.Path);
    FFd = fd;
    return {};
}

void TGrowingFile::Append(std::string_view text)
{
    if (!FFailure.Ok())
        return;
    if (FDeferred) {
        FDeferredText += text;
        return;
    }
    if (FFd < 0)
        return;
    const bool written = FStream ? WriteAllWithoutSigpipe(FFd, text, FStop, true) : WriteAll(FFd, text, {});
    if (!written)
        Failed(errno);
}

TFileResult TGrowingFile::Finish(const TStopAsked& stop)
{
    if (FDeferred && FFailure.Ok()) {
        FDeferred = false;
        FFailure = OverwriteInPlace(FTarget.Path, FTarget.Info, FDeferredText, stop);
    }
    if (FFd >= 0) {
        if (!FStream && ::fsync(FFd) != 0)
            Failed(errno);
        const int fd = FFd;
        FFd = -1;
        if (::close(fd) != 0)
            Failed(errno);
    }
    return FFailure;
}
