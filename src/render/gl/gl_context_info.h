// Questions about the context that is current on this thread, asked of GL itself because the
// window system behind it may not answer them; and the extension-list matching they share
// with the window-system side.
#pragma once

#include <string_view>

struct TGLVersion {
    int major = 0;
    int minor = 0;

    bool AtLeast(int wantMajor, int wantMinor) const {
        return major > wantMajor || (major == wantMajor && minor >= wantMinor);
    }
};

// The version from GL_VERSION; 0.0 without a current context.
TGLVersion CurrentGLVersion();

// Whether a space-separated list of extension names holds `name` as a whole name:
// GL_EXT_framebuffer_object is not found in GL_EXT_framebuffer_object_x.
bool ListHasName(std::string_view list, std::string_view name);

bool CurrentGLHasExtension(std::string_view name);

// Whether the legacy calls (glBegin, lighting, display lists, matrix stacks) work: false for a
// core-profile context, and for a 3.1 one without GL_ARB_compatibility.
bool CurrentGLRunsFixedFunction();

// Empties the error queue, bounded because without a context it might never empty.
void ClearGLErrors();
