#pragma once

// Reading a version block (the VS_VERSIONINFO layout) out of a file. The
// three functions play the roles of the Windows version library's
// GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA; on Windows
// they are those functions, elsewhere they find the block that the build
// embeds in the executable.
//
// The caller's buffer holds the raw block followed by room for 8-bit copies
// of its texts, as the Windows buffer does: a text query answers a pointer
// into that room.

#include <cstdint>

namespace tovu {

// Bytes a caller's buffer needs for a raw block of blockBytes bytes.
constexpr std::uint32_t VersionInfoBufferBytes(std::uint32_t blockBytes)
{
    return ((blockBytes + 3) & ~std::uint32_t{3}) + 2 * blockBytes + 4;
}

// Role of GetFileVersionInfoSizeA: the buffer size ReadVersionInfo needs for
// the version block of the file, or 0 when the file has none or cannot be
// read.
std::uint32_t VersionInfoSize(const char* fileName);

// Role of GetFileVersionInfoA: copies the file's version block into data,
// which holds size bytes. False when there is no block or it does not fit.
bool ReadVersionInfo(const char* fileName, std::uint32_t size, void* data);

// Role of VerQueryValueA: looks up subBlock ("\\" for the fixed file
// information, "\\VarFileInfo\\Translation", "\\StringFileInfo\\041504E2\\Name")
// in a buffer filled by ReadVersionInfo. On success *value points into the
// buffer and *length is the value's size: bytes for binary values, 8-bit
// characters with the terminator for texts. Key comparison ignores case.
// Never reads or writes outside data[0, size).
bool QueryVersionValue(void* data, std::uint32_t size, const char* subBlock, void** value, std::uint32_t* length);

}  // namespace tovu
