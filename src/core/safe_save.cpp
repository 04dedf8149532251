#include "core/safe_save.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace {

// As the system's own limit on following links.
constexpr int MaxLinkDepth = 40;
// Longest name a folder entry may have on the usual file systems.
constexpr size_t MaxNameBytes = 255;
constexpr std::string_view TempMark = ".tovu-";
constexpr size_t TempSuffixLength = 6;

const char* const BlockDeviceText = "To jest urządzenie blokowe (dysk), a nie plik";
const char* const NoFifoReaderText = "Nikt nie czyta z tego potoku (FIFO)";

// The folder part with its slash ("" for a bare name), and the name in it.
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

struct TTarget {
    std::string Path;
    bool Exists = false;
    struct stat Info {};
};

// The file a save through fileName lands in: links are followed one by one,
// so that a link to a file not made yet creates that file.
TFileResult ResolveLinks(const std::string& fileName, TTarget& target)
{
    std::string path = fileName;
    for (int depth = 0; depth <= MaxLinkDepth; ++depth) {
        if (::lstat(path.c_str(), &target.Info) != 0) {
            if (errno != ENOENT)
                return SystemFailure(errno);
            target.Path = path;
            target.Exists = false;
            return {};
        }
        if (!S_ISLNK(target.Info.st_mode)) {
            target.Path = path;
            target.Exists = true;
            return {};
        }
        std::string link(static_cast<size_t>(target.Info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0)
            return SystemFailure(errno);
        link.resize(static_cast<size_t>(length));
        if (link.empty())
            return SystemFailure(ENOENT);
        path = link.front() == '/' ? link : FolderPrefix(path) + link;
    }
    return SystemFailure(ELOOP);
}

bool WriteAll(int fd, std::string_view content)
{
    const char* data = content.data();
    size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

// A FIFO whose reader goes away raises SIGPIPE, which would end the whole
// program: the signal is held back during the write and taken off again.
bool WriteAllWithoutSigpipe(int fd, std::string_view content)
{
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &before);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    const bool written = WriteAll(fd, content);
    const int error = errno;
    if (!written && error == EPIPE && !wasPending) {
        const timespec noWait{};
        sigtimedwait(&pipeOnly, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return written;
}

TFileResult CloseWithResult(int fd, TFileResult result)
{
    if (::close(fd) != 0 && result.Ok())
        return SystemFailure(errno);
    return result;
}

// Devices and FIFOs take the contents as a stream; they are never replaced.
TFileResult WriteIntoStream(const TTarget& target, std::string_view content)
{
    // Non-blocking, so that a FIFO nobody reads fails at once instead of
    // holding the program until a reader comes.
    const int fd = ::open(target.Path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENXIO && S_ISFIFO(target.Info.st_mode) ? TFileResult{NoFifoReaderText} : SystemFailure(errno);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!WriteAllWithoutSigpipe(fd, content))
        return CloseWithResult(fd, SystemFailure(errno));
    return CloseWithResult(fd, {});
}

// The only way when the file has other names or its folder takes no new
// file. Not safe against a crash half-way, but the room for the contents is
// taken first, so a full disk fails before a byte is overwritten.
TFileResult OverwriteInPlace(const TTarget& target, std::string_view content)
{
    const int fd = ::open(target.Path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return SystemFailure(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return CloseWithResult(fd, SystemFailure(errno));
    if (!S_ISREG(info.st_mode))
        return CloseWithResult(fd, TFileResult{"Plik zmienił się w trakcie zapisu"});
    const auto size = static_cast<off_t>(content.size());
    if (size > info.st_size && ::fallocate(fd, 0, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
        return CloseWithResult(fd, SystemFailure(errno));
    if (!WriteAll(fd, content) || ::ftruncate(fd, size) != 0 || ::fsync(fd) != 0)
        return CloseWithResult(fd, SystemFailure(errno));
    return CloseWithResult(fd, {});
}

// ".NAME.tovu-", the name cut short if needed (never inside a UTF-8
// character) so that the whole still fits a folder entry.
std::string TempPrefix(const std::string& target)
{
    std::string base = BaseName(target);
    const size_t room = MaxNameBytes - 1 - TempMark.size() - TempSuffixLength;
    if (base.size() > room) {
        size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;
        base.resize(cut);
    }
    return FolderPrefix(target) + "." + base + std::string(TempMark);
}

// Created like any new file, so the umask and the folder's default rules
// apply; O_EXCL makes sure no file already there is taken over.
int CreateTempFile(const std::string& prefix, std::string& tempName)
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
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

// The folder entry for the renamed file reaches the disk too.
void SyncFolder(const std::string& target)
{
    const std::string folder = FolderPrefix(target);
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool FolderRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM;
}

TFileResult ReplaceThroughTempFile(const TTarget& target, std::string_view content)
{
    if (BaseName(target.Path).empty())
        return SystemFailure(ENOENT);
    std::string tempName;
    const int fd = CreateTempFile(TempPrefix(target.Path), tempName);
    if (fd < 0) {
        if (target.Exists && FolderRefusesNewFiles(errno))
            return OverwriteInPlace(target, content);
        return SystemFailure(errno);
    }
    if (target.Exists) {
        // Ownership first: changing it clears the set-user and set-group bits.
        // Where neither may be set, the new file keeps the process's own owner
        // and group, as a new file written by any editor would.
        const bool ownerKept = ::fchown(fd, target.Info.st_uid, target.Info.st_gid) == 0;
        const bool groupKept = ownerKept || ::fchown(fd, static_cast<uid_t>(-1), target.Info.st_gid) == 0;
        static_cast<void>(groupKept);
        ::fchmod(fd, target.Info.st_mode & 07777);
    }
    if (!WriteAll(fd, content) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(tempName.c_str());
        return SystemFailure(error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        return SystemFailure(error);
    }
    if (::rename(tempName.c_str(), target.Path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        // A sticky folder lets only the owner replace a file it may write.
        if (target.Exists && FolderRefusesNewFiles(error))
            return OverwriteInPlace(target, content);
        return SystemFailure(error);
    }
    SyncFolder(target.Path);
    return {};
}

}  // namespace

TFileResult WriteFileReplacing(const std::string& fileName, std::string_view content)
{
    TTarget target;
    const TFileResult resolved = ResolveLinks(fileName, target);
    if (!resolved.Ok())
        return resolved;
    if (!target.Exists)
        return ReplaceThroughTempFile(target, content);

    const mode_t mode = target.Info.st_mode;
    if (S_ISDIR(mode))
        return TFileResult{FolderText};
    if (S_ISSOCK(mode))
        return TFileResult{SocketText};
    if (S_ISBLK(mode))
        return TFileResult{BlockDeviceText};
    if (S_ISCHR(mode) || S_ISFIFO(mode))
        return WriteIntoStream(target, content);
    // Asked of the file itself: renaming over it in a writable folder would
    // get round its own permission. Root keeps root's rights.
    if (::access(target.Path.c_str(), W_OK) != 0)
        return SystemFailure(errno);
    if (target.Info.st_nlink > 1)
        return OverwriteInPlace(target, content);
    return ReplaceThroughTempFile(target, content);
}
