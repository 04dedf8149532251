#include "cli/command_files.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

#include "cli/console.h"
#include "cli/interrupt.h"
#include "core/printable_text.h"
#include "core/safe_save.h"

std::string InputFileName(const std::string& argument)
{
    return argument == "-" ? "/dev/stdin" : argument;
}

std::string FilePlace(const std::string& command, const std::string& fileName)
{
    return "tovu-cli " + command + ": " + fileName + ": ";
}

namespace {

bool IsStream(const std::string& fileName)
{
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode));
}

}  // namespace

bool GuardedSave(const std::string& command, const std::string& fileName,
                 const std::function<TFileResult(const TStopAsked&)>& save)
{
    TFileResult saved;
    int signalStatus = 0;
    {
        const TSaveInterrupt interrupt;
        saved = save(TSaveInterrupt::StopAsked);
        signalStatus = TSaveInterrupt::ExitStatus();
    }
    // A file the signal stopped a save of stays as it was, which is worth
    // a word (the save may have waited for another program's lock); a
    // stream has taken part of the output, and the signal says enough.
    const bool stopped = signalStatus != 0 && saved.ErrorText == SaveStoppedText;
    if (stopped && !IsStream(fileName))
        ErrorLine(FilePlace(command, fileName) + "Błąd zapisu: " + saved.ErrorText + " (nic nie zapisano)");
    else if (!saved.Ok() && !stopped)
        ErrorLine(FilePlace(command, fileName) + "Błąd zapisu: " + saved.ErrorText);
    // The signal ends the program, as it would have outside the save, once
    // the save is whole or given up with nothing left behind.
    if (signalStatus != 0) {
        std::fflush(stdout);
        ::_exit(signalStatus);
    }
    return saved.Ok();
}

bool SaveOutputFile(const std::string& command, const std::string& fileName, std::string_view content)
{
    if (fileName == "-") {
        WriteOut(std::string(content));
        return FinishOutput();
    }
    return GuardedSave(command, fileName,
                       [&](const TStopAsked& stop) { return WriteFileReplacing(fileName, content, stop); });
}

bool SameExistingFile(const std::string& first, const std::string& second)
{
    struct stat a {};
    struct stat b {};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

bool CheckOutputIsNoInput(const std::string& command, const std::string& outName,
                          const std::vector<std::string>& inputNames)
{
    if (outName == "-")
        return true;
    for (const std::string& input : inputNames) {
        if (!SameExistingFile(outName, InputFileName(input)))
            continue;
        ErrorLine(FilePlace(command, outName) + "Błąd zapisu: to ten sam plik co " + QuotedName(input) +
                  ", z którego polecenie czyta; zapis zniszczyłby dane");
        return false;
    }
    return true;
}
