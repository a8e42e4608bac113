#pragma once
// Fatal signals and processor faults end the program through the abort path.
#include <cstdint>

namespace quillon {

// Installs handlers for SIGINT, SIGILL, SIGFPE, SIGSEGV, SIGTERM and SIGABRT
// and an alternate signal stack for the calling thread.
void installFaultHandlers();

// Gives the calling thread an alternate signal stack so that a stack overflow
// on it is still reported. Call at the start of every thread the program makes.
void prepareThreadForFaults();

// Error number of a signal in the signal table, or 0 for any other signal.
int32_t errorNumberForSignal(int signal);

}  // namespace quillon
