#include "cli/improvement_trace.h"

#include <cerrno>

#include "cli/command_files.h"
#include "cli/console.h"
#include "cli/json_text.h"
#include "core/file_result.h"

TImprovementTrace::~TImprovementTrace()
{
    if (FOwnsFile && FFile)
        std::fclose(FFile);
}

bool TImprovementTrace::Open(const std::string& command, const std::string& fileName)
{
    FCommand = command;
    FFileName = fileName;
    if (fileName.empty())
        return true;
    if (fileName == "-") {
        // Through the console, which reports a failed write at the end.
        FToStandardOutput = true;
    } else {
        // "e": the descriptor stays out of any child.
        FFile = std::fopen(fileName.c_str(), "we");
        if (!FFile) {
            ErrorLine(FilePlace(command, fileName) + "Błąd zapisu: " + SystemErrorText(errno));
            return false;
        }
        FOwnsFile = true;
    }
    Write("elapsed_ms,length\n");
    return true;
}

void TImprovementTrace::Write(const std::string& text)
{
    if (FToStandardOutput) {
        WriteOut(text);
        std::fflush(stdout);
        return;
    }
    if (!FFile || FError != 0)
        return;
    errno = 0;
    // Each line at once: whoever reads the file sees the search go.
    if (std::fwrite(text.data(), 1, text.size(), FFile) != text.size() || std::fflush(FFile) != 0)
        FError = errno != 0 ? errno : EIO;
}

void TImprovementTrace::Offer(const TRouteOffer& offer)
{
    // The offer at the end repeats the route reported, often offered before.
    if (!FImprovements.empty() && !(offer.Length < FImprovements.back().Length))
        return;
    FImprovements.push_back({offer.ElapsedMs, offer.Length});
    Write(std::to_string(offer.ElapsedMs) + "," + JsonDouble(offer.Length) + "\n");
}

bool TImprovementTrace::Finish()
{
    if (FOwnsFile && FFile) {
        errno = 0;
        if (std::fclose(FFile) != 0 && FError == 0)
            FError = errno != 0 ? errno : EIO;
        FFile = nullptr;
    }
    if (FError == 0)
        return true;
    ErrorLine(FilePlace(FCommand, FFileName) + "Błąd zapisu: " + SystemErrorText(FError));
    return false;
}

std::string TImprovementTrace::JsonArray() const
{
    std::string text = "[";
    for (const TImprovement& improvement : FImprovements) {
        if (text.size() > 1)
            text += ", ";
        text += TJsonObject().Add("elapsed_ms", improvement.ElapsedMs).Add("length", improvement.Length).Text();
    }
    return text + "]";
}
