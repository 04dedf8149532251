#include "ui/version/version_file.h"

#ifdef _WIN32

#include <windows.h>

namespace tovu {

std::uint32_t VersionInfoSize(const char* fileName)
{
    DWORD handle = 0;
    return static_cast<std::uint32_t>(GetFileVersionInfoSizeA(fileName, &handle));
}

bool ReadVersionInfo(const char* fileName, std::uint32_t size, void* data)
{
    return GetFileVersionInfoA(fileName, 0, size, data) != 0;
}

bool QueryVersionValue(void* data, std::uint32_t /*size*/, const char* subBlock, void** value, std::uint32_t* length)
{
    UINT valueLength = 0;
    const bool found = VerQueryValueA(data, subBlock, value, &valueLength) != 0;
    *length = static_cast<std::uint32_t>(valueLength);
    return found;
}

}  // namespace tovu

#else

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovu {
namespace {

constexpr std::size_t HeaderBytes = 6;
constexpr std::size_t FixedInfoBytes = 52;
constexpr std::uint32_t FixedInfoSignature = 0xFEEF04BD;
constexpr char RootKey[] = "VS_VERSION_INFO";
constexpr std::uint16_t TypeText = 1;

std::size_t Align4(std::size_t offset)
{
    return (offset + 3) & ~std::size_t{3};
}

std::uint16_t Word(const std::uint8_t* bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t DWord(const std::uint8_t* bytes, std::size_t offset)
{
    return Word(bytes, offset) | (static_cast<std::uint32_t>(Word(bytes, offset + 2)) << 16);
}

// One block of the tree, every offset checked against the enclosing limit.
struct TBlock {
    std::size_t Start = 0;
    std::size_t End = 0;  // one past the last byte wLength covers
    std::uint16_t Type = 0;
    std::size_t KeyStart = 0;
    std::size_t KeyUnits = 0;  // without the terminator
    std::size_t ValueStart = 0;
    std::size_t ValueBytes = 0;
    std::size_t ValueUnits = 0;  // texts only
    std::size_t ChildrenStart = 0;
};

std::optional<TBlock> ParseBlock(const std::uint8_t* bytes, std::size_t start, std::size_t limit)
{
    if (start > limit || limit - start < HeaderBytes)
        return std::nullopt;
    const std::size_t length = Word(bytes, start);
    if (length < HeaderBytes || length > limit - start)
        return std::nullopt;
    TBlock block;
    block.Start = start;
    block.End = start + length;
    const std::size_t valueLength = Word(bytes, start + 2);
    block.Type = Word(bytes, start + 4);
    block.KeyStart = start + HeaderBytes;
    std::size_t at = block.KeyStart;
    while (true) {
        if (block.End - at < 2)
            return std::nullopt;  // key runs past the block
        if (Word(bytes, at) == 0)
            break;
        at += 2;
    }
    block.KeyUnits = (at - block.KeyStart) / 2;
    block.ValueStart = std::min(Align4(at + 2), block.End);
    const std::size_t room = block.End - block.ValueStart;
    if (block.Type == TypeText) {
        block.ValueUnits = std::min(valueLength, room / 2);
        block.ValueBytes = block.ValueUnits * 2;
    } else {
        block.ValueBytes = std::min(valueLength, room);
    }
    block.ChildrenStart = std::min(Align4(block.ValueStart + block.ValueBytes), block.End);
    return block;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool KeyIs(const std::uint8_t* bytes, const TBlock& block, std::string_view name)
{
    if (block.KeyUnits != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const std::uint16_t unit = Word(bytes, block.KeyStart + 2 * i);
        if (unit > 0x7F || LowerAscii(static_cast<char>(unit)) != LowerAscii(name[i]))
            return false;
    }
    return true;
}

std::optional<TBlock> FindChild(const std::uint8_t* bytes, const TBlock& parent, std::string_view name)
{
    std::size_t at = parent.ChildrenStart;
    while (at < parent.End) {
        const std::optional<TBlock> child = ParseBlock(bytes, at, parent.End);
        if (!child)
            return std::nullopt;
        if (KeyIs(bytes, *child, name))
            return child;
        at = Align4(child->End);
    }
    return std::nullopt;
}

void AppendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (code >> 6)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (code >> 12)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (code >> 18)));
        text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// The platform's 8-bit text is UTF-8. The text ends at its first zero unit.
std::string TextOf(const std::uint8_t* bytes, const TBlock& block)
{
    std::string text;
    for (std::size_t i = 0; i < block.ValueUnits; ++i) {
        const char16_t unit = Word(bytes, block.ValueStart + 2 * i);
        if (unit == 0)
            break;
        char32_t code = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < block.ValueUnits) {
            const char16_t next = Word(bytes, block.ValueStart + 2 * (i + 1));
            if (next >= 0xDC00 && next <= 0xDFFF) {
                code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            } else {
                code = 0xFFFD;
            }
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(text, code);
    }
    return text;
}

// Anything but a readable regular file (a directory, say) reads as empty.
std::vector<std::uint8_t> ReadWholeFile(const char* fileName)
{
    std::error_code error;
    const std::filesystem::path path(fileName);
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > std::numeric_limits<std::streamsize>::max())
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Where the block lies in the file.
struct TFoundBlock {
    std::size_t Offset = 0;
    std::size_t Bytes = 0;
};

// The root's key is searched for as UTF-16LE text; the header in front of it
// and the fixed block's signature after it tell a real block from the same
// characters met by chance. Offsets inside a block count from its start, as
// its alignment does, wherever it lies in the file.
std::optional<TFoundBlock> FindRootBlock(const std::vector<std::uint8_t>& file)
{
    std::vector<std::uint8_t> pattern;
    for (const char* c = RootKey; *c != '\0'; ++c) {
        pattern.push_back(static_cast<std::uint8_t>(*c));
        pattern.push_back(0);
    }
    pattern.push_back(0);
    pattern.push_back(0);
    const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
    auto from = file.begin();
    while (true) {
        const auto found = std::search(from, file.end(), searcher);
        if (found == file.end())
            return std::nullopt;
        const auto keyAt = static_cast<std::size_t>(found - file.begin());
        from = found + 1;
        if (keyAt < HeaderBytes)
            continue;
        const std::size_t start = keyAt - HeaderBytes;
        const std::uint8_t* block = file.data() + start;
        const std::optional<TBlock> root = ParseBlock(block, 0, file.size() - start);
        if (!root || root->Type != 0 || root->ValueBytes != FixedInfoBytes)
            continue;
        if (Word(block, 2) != FixedInfoBytes)
            continue;
        if (DWord(block, root->ValueStart) != FixedInfoSignature)
            continue;
        return TFoundBlock{start, root->End};
    }
}

}  // namespace

std::uint32_t VersionInfoSize(const char* fileName)
{
    if (fileName == nullptr)
        return 0;
    const std::optional<TFoundBlock> found = FindRootBlock(ReadWholeFile(fileName));
    if (!found)
        return 0;
    return VersionInfoBufferBytes(static_cast<std::uint32_t>(found->Bytes));
}

bool ReadVersionInfo(const char* fileName, std::uint32_t size, void* data)
{
    if (fileName == nullptr || data == nullptr)
        return false;
    const std::vector<std::uint8_t> file = ReadWholeFile(fileName);
    const std::optional<TFoundBlock> found = FindRootBlock(file);
    if (!found || found->Bytes > size)
        return false;
    auto* out = static_cast<std::uint8_t*>(data);
    std::memcpy(out, file.data() + found->Offset, found->Bytes);
    std::memset(out + found->Bytes, 0, size - found->Bytes);
    return true;
}

bool QueryVersionValue(void* data, std::uint32_t size, const char* subBlock, void** value, std::uint32_t* length)
{
    if (data == nullptr || subBlock == nullptr || value == nullptr || length == nullptr)
        return false;
    auto* bytes = static_cast<std::uint8_t*>(data);
    std::optional<TBlock> node = ParseBlock(bytes, 0, size);
    if (!node)
        return false;
    const std::size_t blockBytes = node->End;

    std::string_view path(subBlock);
    while (!path.empty()) {
        const std::size_t separator = path.find('\\');
        const std::string_view name = path.substr(0, separator);
        path = separator == std::string_view::npos ? std::string_view{} : path.substr(separator + 1);
        if (name.empty())
            continue;
        node = FindChild(bytes, *node, name);
        if (!node)
            return false;
    }

    // A block that only holds other blocks has no value of its own: a path
    // ending in a separator names no entry.
    if (node->ValueBytes == 0 && ParseBlock(bytes, node->ChildrenStart, node->End))
        return false;

    if (node->Type != TypeText) {
        if (node->ValueBytes == 0)
            return false;
        *value = bytes + node->ValueStart;
        *length = static_cast<std::uint32_t>(node->ValueBytes);
        return true;
    }

    // A text of n units, re-encoded, takes at most 3n bytes plus a terminator,
    // which the 4n bytes kept for it after the raw block always hold.
    const std::size_t textArea = Align4(blockBytes);
    if (VersionInfoBufferBytes(static_cast<std::uint32_t>(blockBytes)) > size)
        return false;
    const std::string text = TextOf(bytes, *node);
    std::uint8_t* slot = bytes + textArea + 2 * node->ValueStart;
    std::memcpy(slot, text.c_str(), text.size() + 1);
    *value = slot;
    *length = node->ValueUnits == 0 ? 0 : static_cast<std::uint32_t>(text.size() + 1);
    return true;
}

}  // namespace tovu

#endif
