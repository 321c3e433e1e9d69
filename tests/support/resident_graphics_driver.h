// Keeps Mesa's libraries loaded for the whole test run. The driver is opened and closed with
// every GL context; what it allocates for good would then be reported by the leak checker
// from an unloaded library, under no name a suppression could match. Opened here once more,
// never to be unloaded, their leaks keep the names tests/sanitizers/lsan.supp lists.
#pragma once

#include <dlfcn.h>

inline bool KeepGraphicsDriverResident() {
    for (const char* library : {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0",
                                "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(library, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    return true;
}
