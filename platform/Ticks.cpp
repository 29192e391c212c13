#include "platform/Ticks.h"

#include <chrono>

// Milliseconds of the monotonic clock (time since boot on Linux), like the system tick count.
unsigned tickCount() {
    using namespace std::chrono;
    return static_cast<unsigned>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
