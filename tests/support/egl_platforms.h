// Whether this machine's EGL offers the platform that needs no display: where it does, the
// headless tests must get a context and fail if they do not; elsewhere they skip.
#pragma once

#include <EGL/egl.h>

#include <cstring>

namespace testing_support {

inline bool EglOffersSurfaceless() {
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    return client != nullptr && std::strstr(client, "EGL_MESA_platform_surfaceless") != nullptr;
}

}  // namespace testing_support

#define VELDRA_REQUIRE_SURFACELESS_EGL()                                                      \
    do {                                                                                      \
        if (!::testing_support::EglOffersSurfaceless())                                       \
            GTEST_SKIP() << "this machine's EGL has no surfaceless platform (install Mesa's " \
                            "libegl1-mesa and libgl1-mesa-dri)";                              \
    } while (0)
