#include "cli/interrupt.h"

#include <unistd.h>
#include <csignal>

namespace {

constexpr int HandledSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t searchStopSignal = 0;
volatile std::sig_atomic_t saveStopSignal = 0;

void Install(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (const int signal : HandledSignals)
        sigaddset(&action.sa_mask, signal);
    // Reads and writes go on after a flag was raised; the save and the
    // search ask the flags themselves.
    action.sa_flags = SA_RESTART;
    for (const int signal : HandledSignals)
        sigaction(signal, &action, nullptr);
}

extern "C" void QuitNow(int signal)
{
    ::_exit(128 + signal);
}

extern "C" void StopSearch(int signal)
{
    searchStopSignal = signal;
    // sigaction may be called here: the next signal ends the program.
    Install(QuitNow);
}

extern "C" void StopSave(int signal)
{
    if (saveStopSignal == 0)
        saveStopSignal = signal;
}

struct sigaction savedActions[sizeof HandledSignals / sizeof HandledSignals[0]];

}  // namespace

void QuitOnInterrupt()
{
    Install(QuitNow);
}

void InstallInterruptHandler()
{
    Install(StopSearch);
}

bool InterruptRequested()
{
    return searchStopSignal != 0;
}

int InterruptExitStatus()
{
    return searchStopSignal == 0 ? 0 : 128 + searchStopSignal;
}

TSaveInterrupt::TSaveInterrupt()
{
    saveStopSignal = 0;
    for (size_t i = 0; i < sizeof HandledSignals / sizeof HandledSignals[0]; ++i)
        sigaction(HandledSignals[i], nullptr, &savedActions[i]);
    Install(StopSave);
}

TSaveInterrupt::~TSaveInterrupt()
{
    for (size_t i = 0; i < sizeof HandledSignals / sizeof HandledSignals[0]; ++i)
        sigaction(HandledSignals[i], &savedActions[i], nullptr);
}

bool TSaveInterrupt::StopAsked()
{
    return saveStopSignal != 0;
}

int TSaveInterrupt::ExitStatus()
{
    return saveStopSignal == 0 ? 0 : 128 + saveStopSignal;
}
