#include "core/in_place_write.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "core/printable_text.h"

namespace {

constexpr long LockRetryNs = 10'000'000;

const char* const ChangedText = "Plik zmienił się w trakcie zapisu";

// Waits for the exclusive lock, asking stop between tries.
bool LockExclusive(int fd, const TStopAsked& stop)
{
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (StopAsked(stop)) {
            errno = ECANCELED;
            return false;
        }
        const timespec pause{0, LockRetryNs};
        ::nanosleep(&pause, nullptr);
    }
}

// The copy of the old contents: made, filled and synced, or not made at all
// when the folder takes no new file (copyName then empty).
TFileResult KeepOldContents(int fd, const std::string& path, const struct stat& info, std::string& copyName,
                            const TStopAsked& stop)
{
    const TLeftoverCopy found = FindLeftoverCopy(path, info);
    copyName.clear();
    if (found.Kind != TLeftoverCopy::TKind::None)
        return TFileResult{LeftoverCopyRefusal(found)};
    const int copy = ::open(found.Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (copy < 0) {
        const int error = errno;
        // Made there since it was looked at.
        if (error == EEXIST)
            return TFileResult{LeftoverCopyRefusal(FindLeftoverCopy(path, info))};
        if (error == EACCES || error == EPERM || error == EROFS)
            return {};
        return SystemFailure(error);
    }
    copyName = found.Name;
    // As the file's: whoever may read and write the file may deal with its
    // copy after a crash. Never set-user or set-group.
    if (::fchown(copy, info.st_uid, info.st_gid) != 0 && ::fchown(copy, static_cast<uid_t>(-1), info.st_gid) != 0) {
        // Neither owner nor group can be given: the copy stays ours, as any new file of ours.
    }
    ::fchmod(copy, info.st_mode & 0777);
    if (!CopyFileData(fd, copy, info.st_size, stop) || ::ftruncate(copy, info.st_size) != 0 || ::fsync(copy) != 0) {
        const int error = errno;
        ::close(copy);
        ::unlink(copyName.c_str());
        copyName.clear();
        return WriteFailure(error);
    }
    const TFileResult closed = CloseWithResult(copy, {});
    if (!closed.Ok()) {
        ::unlink(copyName.c_str());
        copyName.clear();
        return closed;
    }
    SyncFolder(copyName);
    return {};
}

bool WriteWhole(int fd, std::string_view content, off_t oldSize)
{
    const auto size = static_cast<off_t>(content.size());
    // The room first, so that a full disk fails before a byte is overwritten.
    if (size > oldSize && ::fallocate(fd, 0, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, content, {}) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
}

// The copy's contents back into fd, which is cut to nothing first so that
// the copy's holes read as zeros again; the copy goes once that is on disk.
bool CopyBack(int fd, const std::string& copyName)
{
    const int copy = ::open(copyName.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (copy < 0)
        return false;
    struct stat info {};
    const bool restored = ::fstat(copy, &info) == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) == 0 &&
                          CopyFileData(copy, fd, info.st_size, {}) && ::ftruncate(fd, info.st_size) == 0 &&
                          ::fsync(fd) == 0;
    const int error = errno;
    ::close(copy);
    if (restored) {
        ::unlink(copyName.c_str());
        SyncFolder(copyName);
    }
    errno = error;
    return restored;
}

// After a failed write: the old contents back from the copy, which then
// goes; if that fails too, the copy stays and the text names it.
TFileResult PutBack(int fd, const std::string& copyName, int error)
{
    TFileResult failure = SystemFailure(error);
    if (copyName.empty())
        return failure;
    if (!CopyBack(fd, copyName))
        failure.ErrorText += "; dawna zawartość jest w kopii " + QuotedName(copyName);
    return failure;
}

}  // namespace

TFileResult OverwriteInPlace(const std::string& path, const struct stat& expected, std::string_view content,
                             const TStopAsked& stop)
{
    // Read and write, for the copy; a file that may only be written is
    // still written, without one.
    bool readable = true;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0 && errno == EACCES) {
        readable = false;
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    }
    if (fd < 0)
        return SystemFailure(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return CloseWithResult(fd, SystemFailure(errno));
    if (!S_ISREG(info.st_mode) || info.st_dev != expected.st_dev || info.st_ino != expected.st_ino)
        return CloseWithResult(fd, TFileResult{ChangedText});
    if (!LockExclusive(fd, stop))
        return CloseWithResult(fd, WriteFailure(errno));
    // What another writer left while this one waited.
    if (::fstat(fd, &info) != 0)
        return CloseWithResult(fd, SystemFailure(errno));

    std::string copyName;
    if (readable) {
        const TFileResult kept = KeepOldContents(fd, path, info, copyName, stop);
        if (!kept.Ok())
            return CloseWithResult(fd, kept);
    }
    if (StopAsked(stop)) {
        if (!copyName.empty())
            ::unlink(copyName.c_str());
        return CloseWithResult(fd, TFileResult{SaveStoppedText});
    }
    if (!WriteWhole(fd, content, info.st_size))
        return CloseWithResult(fd, PutBack(fd, copyName, errno));
    if (!copyName.empty()) {
        ::unlink(copyName.c_str());
        SyncFolder(copyName);
    }
    // Closing lets the next writer in.
    return CloseWithResult(fd, {});
}

TFileResult RestoreOldContents(const std::string& fileName)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(fileName.c_str(), nullptr), &std::free);
    if (!real)
        return SystemFailure(errno);
    const std::string path = real.get();
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return SystemFailure(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return CloseWithResult(fd, SystemFailure(errno));
    if (!S_ISREG(info.st_mode))
        return CloseWithResult(fd, TFileResult{ChangedText});
    const TLeftoverCopy found = FindLeftoverCopy(path, info);
    if (found.Kind != TLeftoverCopy::TKind::Copy)
        return CloseWithResult(fd, SystemFailure(ENOENT));
    if (!LockExclusive(fd, {}) || !CopyBack(fd, found.Name))
        return CloseWithResult(fd, SystemFailure(errno));
    return CloseWithResult(fd, {});
}
