#include "core/old_contents_copy.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "core/printable_text.h"

namespace {

// Longest name a folder entry may have on the usual file systems.
constexpr size_t MaxNameBytes = 255;
constexpr size_t CopyChunkBytes = 65536;

std::string HashText(std::string_view text)
{
    // FNV-1a: stable between runs and builds, which the readers rely on.
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    static const char Digits[] = "0123456789abcdef";
    std::string hex(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        hex[static_cast<size_t>(i)] = Digits[hash & 15];
    return hex;
}

std::string EntryKind(mode_t mode)
{
    if (S_ISLNK(mode))
        return "dowiązanie symboliczne";
    if (S_ISDIR(mode))
        return "folder";
    if (S_ISFIFO(mode))
        return "potok (FIFO)";
    if (S_ISSOCK(mode))
        return "gniazdo";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "urządzenie";
    return "plik innego użytkownika";
}

bool WriteAllAt(int fd, const char* data, size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
        offset += written;
    }
    return true;
}

}  // namespace

std::string OldContentsCopyName(const std::string& path)
{
    const std::string base = BaseName(path);
    if (base.size() + OldContentsMark.size() <= MaxNameBytes)
        return path + std::string(OldContentsMark);
    return NameBeside(path, "", "~" + HashText(base) + std::string(OldContentsMark));
}

TLeftoverCopy FindLeftoverCopy(const std::string& path, const struct stat& fileInfo)
{
    TLeftoverCopy found;
    found.Name = OldContentsCopyName(path);
    struct stat info {};
    if (::lstat(found.Name.c_str(), &info) != 0)
        return found;
    const bool ours = S_ISREG(info.st_mode) && (info.st_uid == fileInfo.st_uid || info.st_uid == ::geteuid());
    found.Kind = ours ? TLeftoverCopy::TKind::Copy : TLeftoverCopy::TKind::Foreign;
    if (!ours)
        found.What = EntryKind(info.st_mode);
    return found;
}

std::string LeftoverCopyRefusal(const TLeftoverCopy& found)
{
    if (found.Kind != TLeftoverCopy::TKind::Foreign)
        return "Obok pliku została kopia z przerwanego zapisu: " + QuotedName(found.Name) +
               "; sprawdź ją i usuń, zanim zapiszesz ponownie";
    return "Pod nazwą kopii " + QuotedName(found.Name) + " jest " + found.What +
           ", a nie kopia zapisana przez Tovu; program tego nie rusza, a pliku nie zapisał";
}

std::string LeftoverCopyNotice(const std::string& fileName)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(fileName.c_str(), nullptr), &std::free);
    struct stat info {};
    if (!real || ::stat(real.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const TLeftoverCopy found = FindLeftoverCopy(real.get(), info);
    if (found.Kind != TLeftoverCopy::TKind::Copy)
        return {};
    return "obok pliku leży kopia z przerwanego zapisu " + QuotedName(found.Name) +
           ": plik może być zapisany tylko w części, a jego dawna zawartość jest w kopii";
}

bool CopyFileData(int from, int to, off_t size, const TStopAsked& stop)
{
    char buffer[CopyChunkBytes];
    for (off_t at = 0; at < size;) {
        off_t data = ::lseek(from, at, SEEK_DATA);
        if (data < 0 && errno == ENXIO)
            return true;
        // A file system that tells nothing of holes: everything is data.
        const bool holesKnown = data >= 0;
        if (!holesKnown)
            data = at;
        if (data >= size)
            return true;
        off_t end = holesKnown ? ::lseek(from, data, SEEK_HOLE) : size;
        end = end < 0 ? size : std::min(end, size);
        for (off_t piece = data; piece < end;) {
            if (StopAsked(stop)) {
                errno = ECANCELED;
                return false;
            }
            const auto want = static_cast<size_t>(std::min<off_t>(end - piece, sizeof buffer));
            const ssize_t got = ::pread(from, buffer, want, piece);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                if (got == 0)
                    errno = EIO;
                return false;
            }
            if (!WriteAllAt(to, buffer, static_cast<size_t>(got), piece))
                return false;
            piece += got;
        }
        at = end;
    }
    return true;
}
