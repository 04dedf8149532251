#include "core/save_steps.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace {

// Longest name a folder entry may have on the usual file systems.
constexpr size_t MaxNameBytes = 255;
// Between two questions to stop: small enough that Ctrl+C acts at once.
constexpr size_t PieceBytes = 1u << 20;
constexpr int WaitMs = 100;

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

bool WriteAll(int fd, std::string_view content, const TStopAsked& stop)
{
    while (!content.empty()) {
        if (StopAsked(stop)) {
            errno = ECANCELED;
            return false;
        }
        const ssize_t written = ::write(fd, content.data(), std::min(content.size(), PieceBytes));
        if (written >= 0) {
            content.remove_prefix(static_cast<size_t>(written));
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        pollfd waitFor{fd, POLLOUT, 0};
        ::poll(&waitFor, 1, WaitMs);
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
