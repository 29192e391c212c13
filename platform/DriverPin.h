#pragma once
// Under LeakSanitizer the GL driver's allocations for the life of the process are reported once
// it is unloaded at shutdown, from frames that no longer have a name, so no suppression can
// single them out. In sanitizer builds the driver's libraries are pinned (never unloaded) once a
// context exists, which keeps their names for the suppression file; elsewhere this does nothing.

void pinGlDriverForLeakChecks();
