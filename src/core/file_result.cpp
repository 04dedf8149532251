#include "core/file_result.h"

#include <cstring>

std::string SystemErrorText(int errorNumber)
{
    std::string text = std::strerror(errorNumber);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == '.'))
        text.pop_back();
    return text;
}

TFileResult SystemFailure(int errorNumber)
{
    return TFileResult{SystemErrorText(errorNumber)};
}
