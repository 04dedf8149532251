#include "core/printable_text.h"

#include <cstdint>

namespace {

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 character at text[at], or 0 when the bytes
// there are no such character (overlong forms and surrogates included).
size_t CharacterLength(std::string_view text, size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    uint32_t minimum = 0;
    uint32_t code = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(next))
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    // The C1 controls (U+0080 to U+009F), which some terminals obey.
    if (code <= 0x9F)
        return 0;
    return length;
}

void AppendEscaped(std::string& out, unsigned char byte)
{
    static const char Hex[] = "0123456789abcdef";
    out += "\\x";
    out += Hex[byte >> 4];
    out += Hex[byte & 0x0F];
}

}  // namespace

std::string PrintableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
            ++at;
            continue;
        }
        const size_t length = CharacterLength(text, at);
        if (length == 0) {
            AppendEscaped(out, byte);
            ++at;
            continue;
        }
        out.append(text.substr(at, length));
        at += length;
    }
    return out;
}

std::string QuotedName(std::string_view name)
{
    return "„" + PrintableText(name) + "”";
}
