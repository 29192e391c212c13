#include "platform/DriverPin.h"

#if defined(__SANITIZE_ADDRESS__)
#include <cstring>
#include <dlfcn.h>
#include <initializer_list>
#include <link.h>

namespace {

// The libraries a Mesa context loads behind the vendor-neutral front ends.
bool isDriverLibrary(const char* path) {
    for (const char* part : {"_dri.so", "libgallium", "libLLVM", "_mesa.so", "libglapi"})
        if (std::strstr(path, part)) return true;
    return false;
}

int pin(dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name && isDriverLibrary(info->dlpi_name))
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

} // namespace

void pinGlDriverForLeakChecks() { dl_iterate_phdr(pin, nullptr); }
#else
void pinGlDriverForLeakChecks() {}
#endif
