#include "cli/improvement_trace.h"

#include "cli/command_files.h"
#include "cli/console.h"
#include "cli/interrupt.h"
#include "cli/json_text.h"

namespace {

const char* const TraceHeader = "elapsed_ms,length\n";

}  // namespace

bool TImprovementTrace::Open(const std::string& command, const std::string& fileName)
{
    FCommand = command;
    FFileName = fileName;
    if (fileName.empty())
        return true;
    if (fileName == "-") {
        // Through the console, which reports a failed write at the end.
        FToStandardOutput = true;
        Write(TraceHeader);
        return true;
    }
    // A stream that takes nothing holds the search only until Ctrl+C.
    FToFile = GuardedSave(command, fileName, [this, &fileName](const TStopAsked&) {
        return FFile.Open(fileName, TraceHeader, [] { return InterruptRequested(); });
    });
    return FToFile;
}

void TImprovementTrace::Write(const std::string& text)
{
    if (FToStandardOutput) {
        WriteOut(text);
        FlushOut();
        return;
    }
    if (FToFile)
        FFile.Append(text);
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
    if (!FToFile)
        return true;
    FToFile = false;
    return GuardedSave(FCommand, FFileName, [this](const TStopAsked& stop) { return FFile.Finish(stop); });
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
