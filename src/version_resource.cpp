// The program's version block, carried in the executable itself so that the
// About box can read it back from the program's own file. It lives in the
// executable's sources rather than in a library, where the linker would drop
// an object nothing refers to.

#include <array>
#include <cstdint>

#include "ui/version/version_block.h"

#if defined(__GNUC__)
#define TOVU_KEEP_VERSION_BLOCK [[gnu::used, gnu::section(".rodata.tovu_version")]]
#else
#define TOVU_KEEP_VERSION_BLOCK
#endif

namespace tovu {

extern const std::array<std::uint8_t, ProgramVersionBlockBytes> ProgramVersionResource;

// Four-byte alignment, as a version resource has, so the block's own
// alignment rules hold in the file as well.
TOVU_KEEP_VERSION_BLOCK alignas(4) constinit const
    std::array<std::uint8_t, ProgramVersionBlockBytes> ProgramVersionResource = ProgramVersionBlock();

}  // namespace tovu
