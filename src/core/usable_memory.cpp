#include "core/usable_memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string_view>

namespace {

std::string ReadSmallFile(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool ParseCount(std::string_view text, uint64_t& value)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

uint64_t Room(uint64_t limit, uint64_t used)
{
    return limit > used ? limit - used : 0;
}

uint64_t AvailableMemory()
{
    std::istringstream lines(ReadSmallFile("/proc/meminfo"));
    std::string key;
    uint64_t kilobytes = 0;
    while (lines >> key >> kilobytes) {
        if (key == "MemAvailable:")
            return kilobytes * 1024;
        lines.ignore(64, '\n');
    }
    return UINT64_MAX;
}

// The address space and data segment in use, from /proc/self/statm (size
// and data, in pages), against their limits.
uint64_t AddressSpaceRoom()
{
    std::istringstream statm(ReadSmallFile("/proc/self/statm"));
    uint64_t size = 0;
    uint64_t resident = 0;
    uint64_t shared = 0;
    uint64_t text = 0;
    uint64_t library = 0;
    uint64_t data = 0;
    if (!(statm >> size >> resident >> shared >> text >> library >> data))
        return UINT64_MAX;
    const uint64_t page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    uint64_t room = UINT64_MAX;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        room = std::min<uint64_t>(room, Room(limit.rlim_cur, size * page));
    if (getrlimit(RLIMIT_DATA, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        room = std::min<uint64_t>(room, Room(limit.rlim_cur, data * page));
    return room;
}

// The room of one group of the v2 hierarchy ("0::/path") or the memory
// hierarchy of v1 ("N:memory,...:/path") and of each of its ancestors.
uint64_t ControlGroupLineRoom(const std::string& line)
{
    const size_t first = line.find(':');
    const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos)
        return UINT64_MAX;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    const bool version2 = controllers.empty();
    if (!version2 && ("," + controllers + ",").find(",memory,") == std::string::npos)
        return UINT64_MAX;
    const std::string root = version2 ? "/sys/fs/cgroup" : "/sys/fs/cgroup/memory";
    const std::string limitName = version2 ? "memory.max" : "memory.limit_in_bytes";
    const std::string usageName = version2 ? "memory.current" : "memory.usage_in_bytes";
    uint64_t room = UINT64_MAX;
    for (size_t end = path.size();;) {
        const std::string folder = root + path.substr(0, end) + "/";
        room = std::min(room, ControlGroupRoom(ReadSmallFile(folder + limitName), ReadSmallFile(folder + usageName)));
        if (end == 0)
            break;
        end = path.rfind('/', end - 1);
        if (end == std::string::npos)
            break;
    }
    return room;
}

uint64_t ControlGroupsRoom()
{
    std::istringstream lines(ReadSmallFile("/proc/self/cgroup"));
    std::string line;
    uint64_t room = UINT64_MAX;
    while (std::getline(lines, line))
        room = std::min(room, ControlGroupLineRoom(line));
    return room;
}

}  // namespace

uint64_t TMemoryRoom::Least() const
{
    return std::min({Available, AddressSpace, ControlGroup});
}

uint64_t ControlGroupRoom(const std::string& limitText, const std::string& usageText)
{
    uint64_t limit = 0;
    uint64_t usage = 0;
    if (!ParseCount(limitText, limit))
        return UINT64_MAX;
    // v1 writes "no limit" as a huge page-aligned number.
    if (limit >= (uint64_t{1} << 62))
        return UINT64_MAX;
    if (!ParseCount(usageText, usage))
        usage = 0;
    return Room(limit, usage);
}

TMemoryRoom CurrentMemoryRoom()
{
    TMemoryRoom room;
    room.Available = AvailableMemory();
    room.AddressSpace = AddressSpaceRoom();
    room.ControlGroup = ControlGroupsRoom();
    return room;
}
