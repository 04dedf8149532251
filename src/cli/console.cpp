#include "cli/console.h"

#include <cerrno>
#include <cstdio>

#include "core/file_result.h"
#include "core/printable_text.h"

namespace {

std::string commandName;
// The first error a write to standard output met: the C library's later
// calls may leave errno at another value, or at none.
int outputError = 0;

void NoteOutputError()
{
    if (outputError == 0)
        outputError = errno != 0 ? errno : EIO;
}

bool FlushOutNoting()
{
    errno = 0;
    if (std::fflush(stdout) == 0)
        return true;
    NoteOutputError();
    return false;
}

}  // namespace

void FlushOut()
{
    FlushOutNoting();
}

void WriteOut(const std::string& text)
{
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
        NoteOutputError();
}

void WriteOutLine(const std::string& line)
{
    WriteOut(line + "\n");
}

void ErrorLine(const std::string& line)
{
    FlushOutNoting();
    const std::string text = PrintableText(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void NameCommand(const std::string& command)
{
    commandName = command;
}

bool FinishOutput()
{
    if (FlushOutNoting() && !std::ferror(stdout) && outputError == 0)
        return true;
    NoteOutputError();
    const std::string program = commandName.empty() ? "tovu-cli" : "tovu-cli " + commandName;
    ErrorLine(program + ": standardowe wyjście: Błąd zapisu: " + SystemErrorText(outputError));
    return false;
}
