#include "app/MemoryNeed.h"

#include <cstdarg>
#include <cstdio>

namespace {
// Kept from the moment it is said until the next need, so the handler still finds it once the
// stack has unwound.
char gNeed[160] = "the show";
} // namespace

void needMemoryFor(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(gNeed, sizeof gNeed, format, args);
    va_end(args);
}

int reportOutOfMemory() {
    std::fprintf(stderr, "castrelle: out of memory: there is not enough for %s\n", gNeed);
    return 1;
}
