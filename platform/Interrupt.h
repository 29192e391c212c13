#pragma once
// Ctrl-C (SIGINT), SIGTERM and a closed terminal (SIGHUP), honoured from the first instruction of
// main. Until the program starts writing or playing there is nothing to finish, so a signal ends
// the process at once; after that, the signal is recorded and the frame loop ends the show in
// order, so a capture still leaves a playable file.

// Installs the handlers; the first thing main does.
void installInterruptHandlers();

// From now on signals are recorded for the frame loop instead of ending the process.
void deferInterrupts();

// The signal that asked the program to stop, or 0.
int interruptSignal();

// The exit status for a stop by that signal: 128 + its number (130 for SIGINT, 143 for SIGTERM,
// 129 for SIGHUP).
int interruptExitStatus();
