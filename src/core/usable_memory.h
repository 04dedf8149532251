#pragma once

#include <cstdint>
#include <string>

// What limits the memory this process can still take, as far as the system
// tells; each is UINT64_MAX when it is not known or not set.
struct TMemoryRoom {
    // MemAvailable: what the system can give without swapping.
    uint64_t Available = UINT64_MAX;
    // Room under the address-space and data-segment limits (ulimit -v, -d).
    uint64_t AddressSpace = UINT64_MAX;
    // Room under the control group's memory limit and its ancestors'.
    uint64_t ControlGroup = UINT64_MAX;

    uint64_t Least() const;
};

// Read from /proc and /sys now.
TMemoryRoom CurrentMemoryRoom();

// The room left under a control group's limit, from the texts of its
// memory.max (v2: a number or "max") or memory.limit_in_bytes (v1) and of
// its memory.current or memory.usage_in_bytes; UINT64_MAX for no limit or
// an unreadable text.
uint64_t ControlGroupRoom(const std::string& limitText, const std::string& usageText);
