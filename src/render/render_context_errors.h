// The render context's error codes and the texts the user sees for them.
#pragma once

#include <string>

inline constexpr int kGLErrorNoDeviceContext = -1;
inline constexpr int kGLErrorNoPixelFormat = -2;
inline constexpr int kGLErrorPixelFormatNotSet = -3;
inline constexpr int kGLErrorNoRenderContext = -4;
inline constexpr int kGLErrorNotCurrent = -5;
inline constexpr int kGLErrorTexture = -6;
inline constexpr int kGLErrorCompiledList = -7;

inline constexpr const char* kGLErrorCaption = "OpenGL Error";

struct TGLErrorReport {
    int code = 0;
    std::string caption;
    std::string message;
    // The program cannot go on without a working context; only a failed texture is survivable.
    bool quit = false;
};

std::string OpenGLErrorMessage(int code);
TGLErrorReport MakeGLErrorReport(int code);
