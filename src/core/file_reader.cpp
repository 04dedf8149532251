#include "core/file_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace {

constexpr size_t ChunkBytes = 65536;

// Linux's terminal device numbers: the virtual consoles and serial lines,
// /dev/tty and /dev/console, and the pseudo-terminals.
bool IsTerminalDevice(dev_t device)
{
    const unsigned int number = major(device);
    return number == 4 || number == 5 || (number >= 136 && number <= 143);
}

// /dev/null, /dev/zero, /dev/full, /dev/random and /dev/urandom: reading
// them neither blocks nor acts on anything, and the bounded read ends soon
// (a NUL ends the text).
bool IsHarmlessMemoryDevice(dev_t device)
{
    const unsigned int number = minor(device);
    return major(device) == 1 && (number == 3 || number == 5 || number == 7 || number == 8 || number == 9);
}

TFileResult KindRefusal(mode_t mode)
{
    if (S_ISDIR(mode))
        return TFileResult{FolderText};
    if (S_ISFIFO(mode))
        return TFileResult{FifoText};
    if (S_ISSOCK(mode))
        return TFileResult{SocketText};
    return TFileResult{DeviceText};
}

// Any other device is refused before it is opened, because opening some
// devices acts on them.
bool MayRead(const struct stat& info)
{
    return S_ISREG(info.st_mode) ||
           (S_ISCHR(info.st_mode) && (IsTerminalDevice(info.st_rdev) || IsHarmlessMemoryDevice(info.st_rdev)));
}

long long SizeIfOrdinary(const struct stat& info)
{
    return S_ISREG(info.st_mode) ? static_cast<long long>(info.st_size) : -1;
}

// Standard input may have been left non-blocking by whoever shares it.
ssize_t ReadSome(int fd, char* buffer, size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0)
            return got;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        pollfd waitFor{fd, POLLIN, 0};
        ::poll(&waitFor, 1, -1);
    }
}

}  // namespace

void TLineCounter::Feed(std::string_view piece)
{
    for (const char c : piece) {
        if (FPendingCr) {
            FPendingCr = false;
            if (c == '\n')
                continue;
        }
        if (c == '\r' || c == '\n') {
            ++FBreaks;
            FOpenLine = false;
            FPendingCr = c == '\r';
        } else {
            FOpenLine = true;
        }
    }
}

TFileResult ReadBoundedText(int fd, long long knownSize, size_t maxLines, size_t maxBytes, TBoundedText& result)
{
    result = TBoundedText{};
    std::string& text = result.Text;
    if (knownSize > 0)
        text.reserve(std::min(static_cast<size_t>(knownSize), maxBytes));
    TLineCounter counter;
    long long consumed = 0;
    char buffer[ChunkBytes];
    for (;;) {
        const ssize_t got = ReadSome(fd, buffer, sizeof buffer);
        if (got < 0)
            return SystemFailure(errno);
        if (got == 0) {
            result.SawEnd = true;
            break;
        }
        consumed += got;
        std::string_view piece(buffer, static_cast<size_t>(got));
        const size_t nul = piece.find('\0');
        if (nul != std::string_view::npos) {
            piece = piece.substr(0, nul);
            result.SawEnd = true;
        }
        // The whole chunk is counted even past the limit: it is in memory
        // already, and it may hold the file's end, which makes the count exact.
        counter.Feed(piece);
        result.Lines = counter.Lines();
        if (knownSize > 0 && consumed >= knownSize)
            result.SawEnd = true;
        if (result.Lines > maxLines) {
            result.TooManyLines = true;
            return {};
        }
        if (text.size() + piece.size() > maxBytes) {
            result.TooManyBytes = true;
            return {};
        }
        // Grown by hand so that the capacity never passes maxBytes.
        if (text.size() + piece.size() > text.capacity())
            text.reserve(std::min(std::max(text.capacity() * 2, text.size() + piece.size()), maxBytes));
        text.append(piece);
        if (nul != std::string_view::npos)
            break;
    }
    return {};
}

TFileResult OpenForReading(const std::string& fileName, int& fd, long long& knownSize)
{
    struct stat info {};
    if (fileName == "/dev/stdin") {
        fd = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
        if (fd < 0)
            return SystemFailure(errno);
        knownSize = ::fstat(fd, &info) == 0 ? SizeIfOrdinary(info) : -1;
        return {};
    }
    if (::stat(fileName.c_str(), &info) != 0)
        return SystemFailure(errno);
    if (!MayRead(info))
        return KindRefusal(info.st_mode);
    // Non-blocking, so that a FIFO put in the file's place since the check
    // cannot block the open; the check is repeated on what was opened.
    fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return SystemFailure(errno);
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return SystemFailure(error);
    }
    if (!MayRead(info) || (S_ISCHR(info.st_mode) && IsTerminalDevice(info.st_rdev) && !::isatty(fd))) {
        ::close(fd);
        return KindRefusal(info.st_mode);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    knownSize = SizeIfOrdinary(info);
    return {};
}
