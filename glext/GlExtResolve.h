#pragma once
// How the entry-point tables find an entry point: through SDL, which asks the GL library the
// window or offscreen surface was made with. Null while no GL library is loaded (before the
// first window), so an entry called that early stays unresolved and is looked up again later.
// Once one is loaded the vendor-neutral library answers every gl* name, with a dispatch stub
// that does nothing where the driver lacks the function.

namespace glext {

void* lookUp(const char* name);

} // namespace glext
