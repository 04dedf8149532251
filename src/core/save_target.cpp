#include "core/save_target.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <deque>

#include "core/old_contents_copy.h"
#include "core/printable_text.h"
#include "core/save_steps.h"

namespace {

// As the system's own limit on following links.
constexpr int MaxLinks = 40;

const char* const BlockDeviceText = "To jest urządzenie blokowe (dysk), a nie plik";

std::deque<std::string> PathParts(const std::string& path)
{
    std::deque<std::string> parts;
    size_t begin = 0;
    while (begin < path.size()) {
        const size_t slash = path.find('/', begin);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        if (end > begin)
            parts.emplace_back(path, begin, end - begin);
        begin = end + 1;
    }
    return parts;
}

std::string Joined(const std::string& folder, const std::string& part)
{
    if (folder.empty())
        return part;
    return folder.back() == '/' ? folder + part : folder + "/" + part;
}

// The folder above one reached without links, so its parent is the one
// its name shows; "" is the working folder.
std::string Parent(const std::string& folder)
{
    if (folder == "/")
        return folder;
    if (folder.empty())
        return "..";
    const size_t slash = folder.rfind('/');
    const std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (last == "..")
        return folder + "/..";
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

// The rule the system keeps for the links it follows (protected_symlinks).
TFileResult CheckLinkOwner(const std::string& folder, const std::string& link, const struct stat& linkInfo)
{
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

TFileResult ReadLink(const std::string& link, const struct stat& info, std::string& text)
{
    text.assign(static_cast<size_t>(info.st_size) + 256, '\0');
    const ssize_t length = ::readlink(link.c_str(), text.data(), text.size());
    if (length < 0)
        return SystemFailure(errno);
    text.resize(static_cast<size_t>(length));
    return text.empty() ? SystemFailure(ENOENT) : TFileResult{};
}

// An in-place write holds the file's lock while its copy lies beside it.
bool WriterAtWork(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

}  // namespace

TFileResult ResolveSaveTarget(const std::string& fileName, TSaveTarget& target)
{
    if (fileName.empty())
        return SystemFailure(ENOENT);
    std::deque<std::string> pending = PathParts(fileName);
    std::string folder = fileName.front() == '/' ? "/" : "";
    int linksFollowed = 0;
    struct stat info {};
    // A name that ends in "/" or "." names a folder, never a file to make.
    const bool namesFolder = fileName.back() == '/' || BaseName(fileName) == "." || BaseName(fileName) == "..";
    bool reached = pending.empty();
    if (reached && ::lstat(folder.empty() ? "." : folder.c_str(), &info) != 0)
        return SystemFailure(errno);
    while (!pending.empty()) {
        const std::string part = std::move(pending.front());
        pending.pop_front();
        const bool last = pending.empty();
        if (part == "." || part == "..") {
            if (part == "..")
                folder = Parent(folder);
            if (last && ::lstat(folder.empty() ? "." : folder.c_str(), &info) != 0)
                return SystemFailure(errno);
            reached = last;
            continue;
        }
        const std::string path = Joined(folder, part);
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT || !last || namesFolder)
                return SystemFailure(errno);
            target.Path = linksFollowed == 0 ? fileName : path;
            target.Exists = false;
            return {};
        }
        if (S_ISLNK(info.st_mode)) {
            const TFileResult owner = CheckLinkOwner(folder, path, info);
            if (!owner.Ok())
                return owner;
            if (++linksFollowed > MaxLinks)
                return SystemFailure(ELOOP);
            std::string link;
            const TFileResult read = ReadLink(path, info, link);
            if (!read.Ok())
                return read;
            std::deque<std::string> linked = PathParts(link);
            pending.insert(pending.begin(), linked.begin(), linked.end());
            if (link.front() == '/')
                folder = "/";
            // A link to "/" or "." ends the path at the folder it names.
            if (pending.empty() && ::lstat(folder.empty() ? "." : folder.c_str(), &info) != 0)
                return SystemFailure(errno);
            reached = pending.empty();
            continue;
        }
        if (!last && !S_ISDIR(info.st_mode))
            return SystemFailure(ENOTDIR);
        folder = path;
        reached = last;
    }
    if (!reached)
        return SystemFailure(ENOENT);
    if (namesFolder && !S_ISDIR(info.st_mode))
        return SystemFailure(ENOTDIR);
    target.Path = linksFollowed == 0 ? fileName : (folder.empty() ? "." : folder);
    target.Exists = true;
    target.Info = info;
    return {};
}

TFileResult ChooseSaveWay(const std::string& fileName, const TSaveTarget& target, TSaveWay& way)
{
    way = TSaveWay::Replace;
    if (!target.Exists)
        return {};
    const mode_t mode = target.Info.st_mode;
    if (S_ISDIR(mode))
        return TFileResult{FolderText};
    if (S_ISSOCK(mode))
        return TFileResult{SocketText};
    if (S_ISBLK(mode))
        return TFileResult{BlockDeviceText};
    if (S_ISCHR(mode) || S_ISFIFO(mode)) {
        way = TSaveWay::Stream;
        return {};
    }
    // The owner's own "read-only", which root's rights would pass over.
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        if (target.Path == fileName)
            return TFileResult{"Plik jest tylko do odczytu"};
        return TFileResult{"Plik " + QuotedName(target.Path) + " jest tylko do odczytu"};
    }
    // Asked of the file itself: renaming over it in a writable folder would
    // get round its own permission.
    if (::access(target.Path.c_str(), W_OK) != 0)
        return SystemFailure(errno);
    if (target.Info.st_nlink > 1) {
        // Looked at under the lock, where a writer at work has its own copy.
        way = TSaveWay::InPlace;
        return {};
    }
    // The copy may hold the only whole contents after a crash: the file
    // waits until the user has looked at both, whichever way it is saved.
    const TLeftoverCopy found = FindLeftoverCopy(target.Path, target.Info);
    if (found.Kind == TLeftoverCopy::TKind::Copy && !WriterAtWork(target.Path))
        return TFileResult{LeftoverCopyRefusal(found)};
    return {};
}
