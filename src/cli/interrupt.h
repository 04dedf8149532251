#pragma once

// How the command line meets SIGINT (Ctrl+C), SIGTERM and SIGHUP, all three
// alike. A program they end exits with 128 + the signal's number (130 for
// Ctrl+C, 143 for SIGTERM, 129 for SIGHUP).

// Outside a search and a save, a signal ends the program at once: reading a
// file or building the distance table leaves nothing half done. Set first
// thing in main, and again when a search is over.
void QuitOnInterrupt();

// During a search: the first signal only raises a flag that the search's
// event pass reads, as the stop command; a second one ends the program at
// once, for a run stuck where no events are passed.
void InstallInterruptHandler();
bool InterruptRequested();
// 128 + the signal that stopped the search, 0 when none did.
int InterruptExitStatus();

// While it lives, a signal asks the save under way to give up, so that its
// temporary file goes and the old file stays whole; StopAsked is what the
// save asks. When it goes, the signals act as before it.
class TSaveInterrupt {
public:
    TSaveInterrupt();
    ~TSaveInterrupt();
    TSaveInterrupt(const TSaveInterrupt&) = delete;
    TSaveInterrupt& operator=(const TSaveInterrupt&) = delete;

    static bool StopAsked();
    // 128 + the signal that came during the save, 0 when none did.
    static int ExitStatus();
};
