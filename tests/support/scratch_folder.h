#pragma once

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

// A fresh folder under /tmp for the file tests, removed with everything in
// it; open to other users, so a case may run as one.
class TScratchFolder {
public:
    TScratchFolder()
    {
        char pattern[] = "/tmp/tovu-files-XXXXXX";
        Path = ::mkdtemp(pattern);
        ::chmod(Path.c_str(), 0755);
    }
    ~TScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::string File(const std::string& name) const { return Path + "/" + name; }
    // The names in the folder: a temporary file left behind shows here.
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Path))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string Path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The kinds of folder entry that are no ordinary file. Each gives false
// where the system does not allow making one (mknod without privileges).
inline bool MakeSocket(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

inline bool MakeDevice(const std::string& path, mode_t kind, unsigned int major, unsigned int minor)
{
    return ::mknod(path.c_str(), kind | 0666, makedev(major, minor)) == 0;
}
