#include "core/save_steps.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/random.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>

namespace {

// Longest name a folder entry may have on the usual file systems.
constexpr size_t MaxNameBytes = 255;
// Between two questions to stop: small enough that Ctrl+C acts at once.
constexpr size_t PieceBytes = 1u << 20;
constexpr int WaitMs = 100;
constexpr std::string_view TempMark = ".tovu-";
constexpr size_t TempSuffixLength = 6;

}  // namespace

std::string FolderPrefix(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string NameBeside(const std::string& path, std::string_view before, std::string_view after, size_t extraBytes)
{
    std::string base = BaseName(path);
    const size_t room = MaxNameBytes - before.size() - after.size() - extraBytes;
    if (base.size() > room) {
        size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;
        base.resize(cut);
    }
    return FolderPrefix(path) + std::string(before) + base + std::string(after);
}

bool WriteAll(int fd, std::string_view content, const TStopAsked& stop, bool onlyWhileWaiting)
{
    bool waiting = false;
    while (!content.empty()) {
        if ((waiting || !onlyWhileWaiting) && StopAsked(stop)) {
            errno = ECANCELED;
            return false;
        }
        const ssize_t written = ::write(fd, content.data(), std::min(content.size(), PieceBytes));
        if (written >= 0) {
            content.remove_prefix(static_cast<size_t>(written));
            waiting = false;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        pollfd waitFor{fd, POLLOUT, 0};
        ::poll(&waitFor, 1, WaitMs);
        waiting = true;
    }
    return true;
}

TFileResult WriteFailure(int error)
{
    return error == ECANCELED ? TFileResult{SaveStoppedText} : SystemFailure(error);
}

void SyncFolder(const std::string& path)
{
    const std::string folder = FolderPrefix(path);
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

TFileResult CloseWithResult(int fd, TFileResult result)
{
    if (::close(fd) != 0 && result.Ok())
        return SystemFailure(errno);
    return result;
}

bool WriteAllWithoutSigpipe(int fd, std::string_view content, const TStopAsked& stop, bool onlyWhileWaiting)
{
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &before);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    const bool written = WriteAll(fd, content, stop, onlyWhileWaiting);
    const int error = errno;
    if (!written && error == EPIPE && !wasPending) {
        const timespec noWait{};
        sigtimedwait(&pipeOnly, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return written;
}

int OpenStreamForWriting(const std::string& path, bool isFifo, TFileResult& result)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        result = errno == ENXIO && isFifo ? TFileResult{NoFifoReaderText} : SystemFailure(errno);
    return fd;
}

int CreateTempFileBeside(const std::string& path, std::string& tempName)
{
    if (BaseName(path).empty()) {
        errno = ENOENT;
        return -1;
    }
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::string prefix = NameBeside(path, ".", TempMark, TempSuffixLength);
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char noise[TempSuffixLength];
        if (::getrandom(noise, sizeof noise, 0) != static_cast<ssize_t>(sizeof noise))
            return -1;
        tempName = prefix;
        for (const unsigned char n : noise)
            tempName += Letters[n % (sizeof Letters - 1)];
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

void TakeOwnerAndMode(int fd, const struct stat& existing)
{
    // Ownership first: changing it clears the set-user and set-group bits.
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Neither owner nor group can be given: the file stays ours, as any new file of ours.
    }
    ::fchmod(fd, existing.st_mode & 07777);
}

bool FolderRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM;
}
