#include "core/memory_shortage.h"

#include <atomic>

#include "core/number_text.h"
#include "core/usable_memory.h"

namespace {

std::atomic<uint64_t> lastFailedBytes{0};

}  // namespace

std::string MemorySizeText(uint64_t bytes)
{
    const char* const units[] = {"MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1e6;
    for (const char* unit : units) {
        if (value < 999.95)
            return FormatNumber(value, 1, TNumberFormat{}) + " " + unit;
        value /= 1000.0;
    }
    return "ponad 1000 EB";
}

void NoteFailedAllocation(uint64_t bytes)
{
    lastFailedBytes.store(bytes, std::memory_order_relaxed);
}

uint64_t LastFailedAllocationBytes()
{
    return lastFailedBytes.load(std::memory_order_relaxed);
}

std::string OutOfMemoryText()
{
    const uint64_t failed = LastFailedAllocationBytes();
    const uint64_t room = CurrentMemoryRoom().Least();
    std::string text = "Za mało pamięci";
    if (failed > 0)
        text += ": potrzeba było naraz " + MemorySizeText(failed);
    if (room != UINT64_MAX)
        text += std::string(failed > 0 ? ", a" : ":") + " program może teraz dostać najwyżej " + MemorySizeText(room);
    return text;
}

std::string MemoryShortage(const std::string& what, uint64_t needBytes)
{
    const uint64_t room = CurrentMemoryRoom().Least();
    if (needBytes <= room)
        return {};
    return "Za mało pamięci: " + what + " potrzebuje " + MemorySizeText(needBytes) +
           ", a program może teraz dostać najwyżej " + MemorySizeText(room);
}
