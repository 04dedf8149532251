#pragma once

// Builds the program's binary version block (the VS_VERSIONINFO layout of a
// Windows version resource) at compile time. Elsewhere than on Windows the
// executable carries these bytes itself, and the About box reads them back
// through version_file.h. Tests build the same bytes from here.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "version.h"

namespace tovu {

inline constexpr std::uint32_t FixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::uint32_t FixedFileInfoStrucVersion = 0x10000;
inline constexpr std::size_t FixedFileInfoBytes = 13 * 4;
inline constexpr std::uint16_t VersionTypeBinary = 0;
inline constexpr std::uint16_t VersionTypeText = 1;

// The thirteen 32-bit fields of VS_FIXEDFILEINFO, in their stored order.
struct TFixedFileInfo {
    std::uint32_t Signature = FixedFileInfoSignature;
    std::uint32_t StrucVersion = FixedFileInfoStrucVersion;
    std::uint32_t FileVersionMS = 0;
    std::uint32_t FileVersionLS = 0;
    std::uint32_t ProductVersionMS = 0;
    std::uint32_t ProductVersionLS = 0;
    std::uint32_t FileFlagsMask = 0;
    std::uint32_t FileFlags = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType = 0;
    std::uint32_t FileSubtype = 0;
    std::uint32_t FileDateMS = 0;
    std::uint32_t FileDateLS = 0;
};

struct TVersionString {
    std::string Name;
    std::string Value;  // UTF-8
};

struct TVersionBlockContent {
    TFixedFileInfo Fixed;
    std::uint16_t Language = 0;
    std::uint16_t CodePage = 0;
    std::vector<TVersionString> Strings;
};

namespace version_block_detail {

// UTF-8 to UTF-16 code units; a malformed sequence becomes U+FFFD.
constexpr std::u16string Utf16(std::string_view text)
{
    std::u16string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            extra = 0;
            code = 0xFFFD;
        }
        ++i;
        for (std::size_t k = 0; k < extra; ++k) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                code = 0xFFFD;
                break;
            }
            code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
            ++i;
        }
        if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else if (code > 0x10FFFF) {
            result.push_back(u'\xFFFD');
        } else {
            result.push_back(static_cast<char16_t>(code));
        }
    }
    return result;
}

class TBlockWriter {
public:
    constexpr void Word(std::uint16_t value)
    {
        FBytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        FBytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    constexpr void DWord(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    // Zero-terminated UTF-16LE text.
    constexpr void Text(std::string_view text)
    {
        for (char16_t unit : Utf16(text))
            Word(static_cast<std::uint16_t>(unit));
        Word(0);
    }
    constexpr void Align()
    {
        while (FBytes.size() % 4 != 0)
            FBytes.push_back(0);
    }

    // Opens a block: header with a length patched by Close, key, padding.
    constexpr std::size_t Open(std::string_view key, std::uint16_t valueLength, std::uint16_t type)
    {
        Align();
        const std::size_t start = FBytes.size();
        Word(0);
        Word(valueLength);
        Word(type);
        Text(key);
        Align();
        return start;
    }
    // A block's length covers its header, value and children, but not the
    // padding that would follow its last byte.
    constexpr void Close(std::size_t start)
    {
        const auto length = static_cast<std::uint16_t>(FBytes.size() - start);
        FBytes[start] = static_cast<std::uint8_t>(length & 0xFF);
        FBytes[start + 1] = static_cast<std::uint8_t>(length >> 8);
    }

    constexpr std::vector<std::uint8_t> Take() { return std::move(FBytes); }

private:
    std::vector<std::uint8_t> FBytes;
};

}  // namespace version_block_detail

constexpr std::vector<std::uint8_t> BuildVersionBlock(const TVersionBlockContent& content)
{
    using version_block_detail::TBlockWriter;
    using version_block_detail::Utf16;
    TBlockWriter out;
    const std::size_t root =
        out.Open("VS_VERSION_INFO", static_cast<std::uint16_t>(FixedFileInfoBytes), VersionTypeBinary);
    const TFixedFileInfo& f = content.Fixed;
    for (std::uint32_t field :
         {f.Signature, f.StrucVersion, f.FileVersionMS, f.FileVersionLS, f.ProductVersionMS, f.ProductVersionLS,
          f.FileFlagsMask, f.FileFlags, f.FileOS, f.FileType, f.FileSubtype, f.FileDateMS, f.FileDateLS})
        out.DWord(field);

    const std::size_t stringInfo = out.Open("StringFileInfo", 0, VersionTypeText);
    constexpr char HexDigits[] = "0123456789ABCDEF";
    std::string tableKey;
    for (std::uint16_t part : {content.Language, content.CodePage})
        for (int shift = 12; shift >= 0; shift -= 4)
            tableKey.push_back(HexDigits[(part >> shift) & 0xF]);
    const std::size_t table = out.Open(tableKey, 0, VersionTypeText);
    for (const TVersionString& entry : content.Strings) {
        // Text value lengths count UTF-16 units, the terminator included.
        const auto valueUnits = static_cast<std::uint16_t>(Utf16(entry.Value).size() + 1);
        const std::size_t item = out.Open(entry.Name, valueUnits, VersionTypeText);
        out.Text(entry.Value);
        out.Close(item);
    }
    out.Close(table);
    out.Close(stringInfo);

    const std::size_t varInfo = out.Open("VarFileInfo", 0, VersionTypeText);
    const std::size_t translation = out.Open("Translation", 4, VersionTypeBinary);
    out.Word(content.Language);
    out.Word(content.CodePage);
    out.Close(translation);
    out.Close(varInfo);

    out.Close(root);
    return out.Take();
}

namespace version_block_detail {

constexpr std::string Dotted(std::initializer_list<int> parts)
{
    std::string text;
    for (int part : parts) {
        if (!text.empty())
            text.push_back('.');
        std::string digits;
        unsigned value = static_cast<unsigned>(part);
        do {
            digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
            value /= 10;
        } while (value != 0);
        text += digits;
    }
    return text;
}

}  // namespace version_block_detail

inline constexpr std::uint16_t ProgramLanguage = 0x0415;  // Polish
inline constexpr std::uint16_t ProgramCodePage = 0x04E2;  // 1250, Central European

// What the program's own version resource says. The numbers come from the
// build's single version; the product version string only carries the
// major and minor parts, while the fixed block carries all four.
constexpr TVersionBlockContent ProgramVersionContent()
{
    using version_block_detail::Dotted;
    TVersionBlockContent content;
    const auto versionMS = static_cast<std::uint32_t>((VersionMajor << 16) | VersionMinor);
    const auto versionLS = static_cast<std::uint32_t>((VersionPatch << 16) | VersionTweak);
    content.Fixed.FileVersionMS = versionMS;
    content.Fixed.FileVersionLS = versionLS;
    content.Fixed.ProductVersionMS = versionMS;
    content.Fixed.ProductVersionLS = versionLS;
    content.Fixed.FileFlagsMask = 0x3F;
    content.Fixed.FileFlags = 0;
    content.Fixed.FileOS = 4;    // 32-bit Windows
    content.Fixed.FileType = 1;  // application
    content.Language = ProgramLanguage;
    content.CodePage = ProgramCodePage;
    content.Strings = {
        {"CompanyName", ""},
        {"FileDescription", ""},
        {"FileVersion", Dotted({VersionMajor, VersionMinor, VersionPatch, VersionTweak})},
        {"InternalName", ""},
        {"LegalCopyright", ""},
        {"LegalTrademarks", ""},
        {"OriginalFilename", ""},
        {"ProductName", ""},
        {"ProductVersion", Dotted({VersionMajor, VersionMinor, 0, 0})},
        {"Comments", ""},
    };
    return content;
}

inline constexpr std::size_t ProgramVersionBlockBytes = BuildVersionBlock(ProgramVersionContent()).size();

constexpr std::array<std::uint8_t, ProgramVersionBlockBytes> ProgramVersionBlock()
{
    const std::vector<std::uint8_t> bytes = BuildVersionBlock(ProgramVersionContent());
    std::array<std::uint8_t, ProgramVersionBlockBytes> block{};
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

}  // namespace tovu
