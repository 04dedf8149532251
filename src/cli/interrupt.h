#pragma once

// Ctrl+C during a search acts as the stop command: the first SIGINT only
// raises a flag that the search's event pass reads; a second one ends the
// program at once, for a run stuck where no events are passed.
void InstallInterruptHandler();
bool InterruptRequested();
