#include "core/in_place_write.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>

#include "core/printable_text.h"

namespace {

constexpr long LockRetryNs = 10'000'000;
constexpr size_t CopyChunkBytes = 65536;

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

// Copies size bytes from the start of one file to the offset of another.
bool CopyContents(int from, int to, off_t size)
{
    char buffer[CopyChunkBytes];
    for (off_t done = 0; done < size;) {
        const ssize_t got = ::pread(from, buffer, sizeof buffer, done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO;
            return false;
        }
        if (!WriteAll(to, std::string_view(buffer, static_cast<size_t>(got)), {}))
            return false;
        done += got;
    }
    return true;
}

// The copy of the old contents: made, filled and synced, or not made at all
// when the folder takes no new file (copyName then empty).
TFileResult KeepOldContents(int fd, const std::string& path, off_t size, std::string& copyName)
{
    copyName = NameBeside(path, "", OldContentsMark);
    const int copy = ::open(copyName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (copy < 0) {
        const int error = errno;
        const std::string name = copyName;
        copyName.clear();
        if (error == EEXIST)
            return TFileResult{"Obok pliku została kopia z przerwanego zapisu: " + QuotedName(name) +
                               "; sprawdź ją i usuń, zanim zapiszesz ponownie"};
        if (error == EACCES || error == EPERM || error == EROFS)
            return {};
        return SystemFailure(error);
    }
    if (!CopyContents(fd, copy, size) || ::fsync(copy) != 0) {
        const int error = errno;
        ::close(copy);
        ::unlink(copyName.c_str());
        copyName.clear();
        return SystemFailure(error);
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

// After a failed write: the old contents back from the copy, which then
// goes; if that fails too, the copy stays and the text names it.
TFileResult PutBack(int fd, const std::string& copyName, off_t oldSize, int error)
{
    TFileResult failure = SystemFailure(error);
    if (copyName.empty())
        return failure;
    const int copy = ::open(copyName.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    const bool restored = copy >= 0 && ::lseek(fd, 0, SEEK_SET) == 0 && CopyContents(copy, fd, oldSize) &&
                          ::ftruncate(fd, oldSize) == 0 && ::fsync(fd) == 0;
    if (copy >= 0)
        ::close(copy);
    if (restored)
        ::unlink(copyName.c_str());
    else
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
    const off_t oldSize = info.st_size;

    std::string copyName;
    if (readable) {
        const TFileResult kept = KeepOldContents(fd, path, oldSize, copyName);
        if (!kept.Ok())
            return CloseWithResult(fd, kept);
    }
    if (StopAsked(stop)) {
        if (!copyName.empty())
            ::unlink(copyName.c_str());
        return CloseWithResult(fd, TFileResult{SaveStoppedText});
    }
    if (!WriteWhole(fd, content, oldSize))
        return CloseWithResult(fd, PutBack(fd, copyName, oldSize, errno));
    if (!copyName.empty()) {
        ::unlink(copyName.c_str());
        SyncFolder(copyName);
    }
    // Closing lets the next writer in.
    return CloseWithResult(fd, {});
}
