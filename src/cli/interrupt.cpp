#include "cli/interrupt.h"

#include <unistd.h>
#include <csignal>

#include "cli/exit_status.h"

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int)
{
    interrupted = 1;
}

extern "C" void QuitNow(int)
{
    ::_exit(ExitInterrupted);
}

sigset_t InterruptOnly()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

void QuitOnInterrupt()
{
    struct sigaction action {};
    action.sa_handler = QuitNow;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND puts the default back for the second Ctrl+C; SA_RESTART
    // keeps reads and writes going.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested()
{
    return interrupted != 0;
}

TInterruptHold::TInterruptHold()
{
    const sigset_t set = InterruptOnly();
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

TInterruptHold::~TInterruptHold()
{
    const sigset_t set = InterruptOnly();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}
