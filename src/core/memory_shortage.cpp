#include "core/memory_shortage.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/number_text.h"
#include "core/usable_memory.h"

// Sanitizers bring their own operator new, which must stay theirs.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TOVU_SYSTEM_NEW 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define TOVU_SYSTEM_NEW 1
#endif
#endif

namespace {

std::atomic<uint64_t> lastFailedBytes{0};

}  // namespace

#ifndef TOVU_SYSTEM_NEW
// The replaceable operator new, as the library's own, but that it notes
// the size it could not get. The other forms (arrays, nothrow) call this
// one; delete stays the library's, which frees what malloc gave.
void* operator new(std::size_t size)
{
    const std::size_t bytes = size == 0 ? 1 : size;
    for (;;) {
        if (void* memory = std::malloc(bytes))
            return memory;
        const std::new_handler handler = std::get_new_handler();
        if (!handler) {
            lastFailedBytes.store(bytes, std::memory_order_relaxed);
            throw std::bad_alloc();
        }
        handler();
    }
}
#endif

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
