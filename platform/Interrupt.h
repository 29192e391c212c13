#pragma once
// Ctrl-C (SIGINT) and SIGTERM, honoured from the first instruction of main. Until the program's
// frame loop starts there is nothing to finish (no file being written, no sound playing), so a
// signal ends the process at once; once the loop runs, the signal is recorded and the loop ends
// the show in order, so a capture still leaves a playable file.

// Installs the handlers; the first thing main does.
void installInterruptHandlers();

// From now on signals are recorded for the frame loop instead of ending the process.
void deferInterrupts();

// The signal that asked the program to stop, or 0.
int interruptSignal();

// The exit status for a stop by that signal: 128 + its number (130 for SIGINT, 143 for SIGTERM).
int interruptExitStatus();
