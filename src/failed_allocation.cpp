// The window's and the tool's operator new: the library's own, but that it
// notes the size it could not get, so that "za mało pamięci" can say how
// much was wanted (OutOfMemoryText). Linked into the two programs, not into
// the engine, so tests and benchmarks keep whatever operator new they have.
#include <cstdlib>
#include <new>

#include "core/memory_shortage.h"

// Sanitizers bring their own operator new, which must stay theirs.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TOVU_SYSTEM_NEW 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define TOVU_SYSTEM_NEW 1
#endif
#endif

#ifndef TOVU_SYSTEM_NEW
// The other forms (arrays, nothrow) call this one; delete stays the
// library's, which frees what malloc gave.
void* operator new(std::size_t size)
{
    const std::size_t bytes = size == 0 ? 1 : size;
    for (;;) {
        if (void* memory = std::malloc(bytes))
            return memory;
        const std::new_handler handler = std::get_new_handler();
        if (!handler) {
            NoteFailedAllocation(bytes);
            throw std::bad_alloc();
        }
        handler();
    }
}
#endif
