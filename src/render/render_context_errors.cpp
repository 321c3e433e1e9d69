#include "render/render_context_errors.h"

std::string OpenGLErrorMessage(int code) {
    switch (code) {
        case kGLErrorNoDeviceContext:
            return "The device-context could not be determined";
        case kGLErrorNoPixelFormat:
            return "The pixel-format could not be determined.";
        case kGLErrorPixelFormatNotSet:
            return "The pixel-format could not be set.";
        case kGLErrorNoRenderContext:
            return "The render-context could not be made.";
        case kGLErrorNotCurrent:
            return "The render-context could not be made current.";
        case kGLErrorTexture:
            return "A texture could not be created.";
        case kGLErrorCompiledList:
            return "A compiled list could not be created";
        default:
            return kGLErrorCaption;
    }
}

TGLErrorReport MakeGLErrorReport(int code) {
    return TGLErrorReport{code, kGLErrorCaption, OpenGLErrorMessage(code), code != kGLErrorTexture};
}
