#include "render/gl/gl_context_info.h"

#include <GL/gl.h>

#include <charconv>
#include <cstring>

namespace {

// From OpenGL 3.2; spelled out so that no particular glext.h is needed.
constexpr GLenum kContextProfileMask = 0x9126;
constexpr GLint kContextCoreProfileBit = 0x1;

}  // namespace

TGLVersion CurrentGLVersion() {
    TGLVersion version;
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (text == nullptr) return version;
    const char* end = text + std::strlen(text);
    auto [dot, majorError] = std::from_chars(text, end, version.major);
    if (majorError != std::errc() || dot == end || *dot != '.') return {};
    std::from_chars(dot + 1, end, version.minor);
    return version;
}

bool ListHasName(std::string_view list, std::string_view name) {
    if (name.empty()) return false;
    for (std::size_t at = list.find(name); at != std::string_view::npos;
         at = list.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if ((at == 0 || list[at - 1] == ' ') && (end == list.size() || list[end] == ' '))
            return true;
    }
    return false;
}

bool CurrentGLHasExtension(std::string_view name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return text != nullptr && ListHasName(text, name);
}

bool CurrentGLRunsFixedFunction() {
    const TGLVersion version = CurrentGLVersion();
    if (version.major == 0) return false;
    if (version.AtLeast(3, 2)) {
        GLint mask = 0;
        glGetIntegerv(kContextProfileMask, &mask);
        ClearGLErrors();
        return (mask & kContextCoreProfileBit) == 0;
    }
    if (version.AtLeast(3, 1)) return CurrentGLHasExtension("GL_ARB_compatibility");
    return true;
}

void ClearGLErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}
