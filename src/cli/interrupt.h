#pragma once

// Until a search starts, Ctrl+C ends the program at once with status 130:
// reading a file or building the distance table leaves nothing half done.
// Set first thing in main.
void QuitOnInterrupt();

// Ctrl+C during a search acts as the stop command: the first SIGINT only
// raises a flag that the search's event pass reads; a second one ends the
// program at once, for a run stuck where no events are passed.
void InstallInterruptHandler();
bool InterruptRequested();

// Holds Ctrl+C back while it lives, so that a file being saved is finished
// (or cleaned up) before the program ends; a Ctrl+C pressed meanwhile acts
// when the guard goes.
class TInterruptHold {
public:
    TInterruptHold();
    ~TInterruptHold();
    TInterruptHold(const TInterruptHold&) = delete;
    TInterruptHold& operator=(const TInterruptHold&) = delete;
};
