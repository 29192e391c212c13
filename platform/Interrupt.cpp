#include "platform/Interrupt.h"

#include <csignal>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gSignal = 0;
volatile std::sig_atomic_t gDeferred = 0;

void onInterrupt(int sig) {
    if (!gDeferred) _exit(128 + sig);
    gSignal = sig;
}

} // namespace

void installInterruptHandlers() {
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void deferInterrupts() { gDeferred = 1; }

int interruptSignal() { return gSignal; }

int interruptExitStatus() { return gSignal ? 128 + gSignal : 0; }
