#include "cli/console.h"

#include <cerrno>
#include <cstdio>

#include "core/point_file.h"

void WriteOut(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void WriteOutLine(const std::string& line)
{
    WriteOut(line + "\n");
}

void ErrorLine(const std::string& line)
{
    std::fflush(stdout);
    const std::string text = line + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

bool FinishOutput()
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    const int error = errno != 0 ? errno : EIO;
    ErrorLine("Błąd zapisu: " + SystemErrorText(error));
    return false;
}
