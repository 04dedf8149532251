#include "cli/command_files.h"

#include "cli/console.h"
#include "cli/interrupt.h"
#include "core/safe_save.h"

std::string InputFileName(const std::string& argument)
{
    return argument == "-" ? "/dev/stdin" : argument;
}

std::string FilePlace(const std::string& command, const std::string& fileName)
{
    return "tovu-cli " + command + ": " + fileName + ": ";
}

bool SaveOutputFile(const std::string& command, const std::string& fileName, std::string_view content)
{
    if (fileName == "-") {
        WriteOut(std::string(content));
        return FinishOutput();
    }
    TFileResult saved;
    {
        const TInterruptHold hold;
        saved = WriteFileReplacing(fileName, content);
    }
    if (saved.Ok())
        return true;
    ErrorLine(FilePlace(command, fileName) + "Błąd zapisu: " + saved.ErrorText);
    return false;
}
