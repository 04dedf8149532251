#include "core/lenient_int.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

int32_t LenientInt(std::string_view text, int32_t defaultValue)
{
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    std::string_view rest = text.substr(pos);
    if (rest.empty())
        return defaultValue;

    size_t hexStart = 0;
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')
        hexStart = 1;
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        hexStart = 2;
    if (hexStart > 0) {
        std::string_view digits = rest.substr(hexStart);
        if (digits.empty())
            return defaultValue;
        uint64_t value = 0;
        for (char c : digits) {
            const int digit = HexDigit(c);
            if (digit < 0)
                return defaultValue;
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFFull)
                return defaultValue;
        }
        // The number is the 32-bit pattern it spells: eight F digits are -1.
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }

    bool negative = false;
    if (rest[0] == '+' || rest[0] == '-') {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty())
        return defaultValue;
    int64_t value = 0;
    for (char c : rest) {
        if (c < '0' || c > '9')
            return defaultValue;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return defaultValue;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return defaultValue;
    return static_cast<int32_t>(value);
}
