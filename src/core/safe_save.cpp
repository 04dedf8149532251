#include "core/safe_save.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

#include "core/in_place_write.h"
#include "core/printable_text.h"

namespace {

// As the system's own limit on following links.
constexpr int MaxLinkDepth = 40;
constexpr std::string_view TempMark = ".tovu-";
constexpr size_t TempSuffixLength = 6;

const char* const BlockDeviceText = "To jest urządzenie blokowe (dysk), a nie plik";
const char* const NoFifoReaderText = "Nikt nie czyta z tego potoku (FIFO)";

struct TTarget {
    std::string Path;
    bool Exists = false;
    struct stat Info {};
};

// The rule the system keeps for the links it follows (protected_symlinks):
// in a sticky folder that everyone may write, only a link of the folder's
// owner or of the user who follows it is followed.
TFileResult CheckLinkOwner(const std::string& link, const struct stat& linkInfo)
{
    const std::string folder = FolderPrefix(link);
    struct stat folderInfo {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &folderInfo) != 0)
        return SystemFailure(errno);
    const bool shared = (folderInfo.st_mode & S_ISVTX) != 0 && (folderInfo.st_mode & S_IWOTH) != 0;
    if (!shared || linkInfo.st_uid == folderInfo.st_uid || linkInfo.st_uid == ::geteuid())
        return {};
    return TFileResult{"Dowiązanie symboliczne " + QuotedName(link) +
                       " należy do innego użytkownika, a leży w folderze, do którego każdy może pisać; "
                       "nie można przez nie zapisać"};
}

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
        const TFileResult owner = CheckLinkOwner(path, target.Info);
        if (!owner.Ok())
            return owner;
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

// A FIFO whose reader goes away raises SIGPIPE, which would end the whole
// program: the signal is held back during the write and taken off again.
bool WriteAllWithoutSigpipe(int fd, std::string_view content, const TStopAsked& stop)
{
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &before);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    const bool written = WriteAll(fd, content, stop);
    const int error = errno;
    if (!written && error == EPIPE && !wasPending) {
        const timespec noWait{};
        sigtimedwait(&pipeOnly, nullptr, &noWait);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return written;
}

// Devices and FIFOs take the contents as a stream; they are never replaced.
TFileResult WriteIntoStream(const TTarget& target, std::string_view content, const TStopAsked& stop)
{
    // Non-blocking, so that a FIFO nobody reads fails at once instead of
    // holding the program until a reader comes; and it stays so, so that a
    // reader who never reads holds the save only until stop says so.
    const int fd = ::open(target.Path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENXIO && S_ISFIFO(target.Info.st_mode) ? TFileResult{NoFifoReaderText} : SystemFailure(errno);
    if (!WriteAllWithoutSigpipe(fd, content, stop))
        return CloseWithResult(fd, WriteFailure(errno));
    return CloseWithResult(fd, {});
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

bool FolderRefusesNewFiles(int error)
{
    return error == EACCES || error == EPERM;
}

TFileResult ReplaceThroughTempFile(const TTarget& target, std::string_view content, const TStopAsked& stop)
{
    if (BaseName(target.Path).empty())
        return SystemFailure(ENOENT);
    std::string tempName;
    const std::string tempPrefix = NameBeside(target.Path, ".", TempMark, TempSuffixLength);
    const int fd = CreateTempFile(tempPrefix, tempName);
    if (fd < 0) {
        if (target.Exists && FolderRefusesNewFiles(errno))
            return OverwriteInPlace(target.Path, target.Info, content, stop);
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

// A file nobody may write, which root could write all the same.
TFileResult ReadOnlyRefusal(const std::string& fileName, const TTarget& target)
{
    if (target.Path == fileName)
        return TFileResult{"Plik jest tylko do odczytu"};
    return TFileResult{"Plik " + QuotedName(target.Path) + " jest tylko do odczytu"};
}

}  // namespace

TFileResult WriteFileReplacing(const std::string& fileName, std::string_view content, const TStopAsked& stop)
{
    TTarget target;
    const TFileResult resolved = ResolveLinks(fileName, target);
    if (!resolved.Ok())
        return resolved;
    if (!target.Exists)
        return ReplaceThroughTempFile(target, content, stop);

    const mode_t mode = target.Info.st_mode;
    if (S_ISDIR(mode))
        return TFileResult{FolderText};
    if (S_ISSOCK(mode))
        return TFileResult{SocketText};
    if (S_ISBLK(mode))
        return TFileResult{BlockDeviceText};
    if (S_ISCHR(mode) || S_ISFIFO(mode))
        return WriteIntoStream(target, content, stop);
    // The owner's own "read-only", which root's rights would pass over.
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return ReadOnlyRefusal(fileName, target);
    // Asked of the file itself: renaming over it in a writable folder would
    // get round its own permission.
    if (::access(target.Path.c_str(), W_OK) != 0)
        return SystemFailure(errno);
    if (target.Info.st_nlink > 1)
        return OverwriteInPlace(target.Path, target.Info, content, stop);
    return ReplaceThroughTempFile(target, content, stop);
}
