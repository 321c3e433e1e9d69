// An offscreen render context for GL tests, and a binding whose window-system answers a test
// can script. The context comes from EGL where it can, so no display is needed; tests skip
// when the machine cannot make a GL context at all.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "render/gl/offscreen_binding.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"
#include "support/resident_graphics_driver.h"

inline const bool kGraphicsDriverResident = KeepGraphicsDriverResident();

// Forwards to an offscreen binding, except for what a test scripts.
class ScriptedBinding final : public IGLBinding {
  public:
    explicit ScriptedBinding(IGLBinding& inner) : inner_(inner) {}

    bool noSurface = false;
    TGLCreateResult createResult = TGLCreateResult::kOk;
    bool failMakeCurrent = false;
    std::string extraExtensions;
    bool swapControl = false;
    int driverSwapInterval = 1;
    std::vector<int> swapIntervalsSet;

    int Width() const override { return inner_.Width(); }
    int Height() const override { return inner_.Height(); }
    bool HasSurface() const override { return !noSurface && inner_.HasSurface(); }
    TGLCreateResult CreateContext() override {
        if (createResult != TGLCreateResult::kOk) return createResult;
        return inner_.CreateContext();
    }
    bool HasContext() const override { return inner_.HasContext(); }
    void DestroyContext() override { inner_.DestroyContext(); }
    bool MakeCurrent() override { return !failMakeCurrent && inner_.MakeCurrent(); }
    void DoneCurrent() override { inner_.DoneCurrent(); }
    void SwapBuffers() override { inner_.SwapBuffers(); }
    bool DrawsToWindowBuffers() const override { return inner_.DrawsToWindowBuffers(); }
    std::string ExtensionString() const override {
        return inner_.ExtensionString() + " " + extraExtensions;
    }
    TGLProc ProcAddress(const char* name) const override { return inner_.ProcAddress(name); }
    bool HasSwapControl() const override { return swapControl; }
    int SwapInterval() const override { return driverSwapInterval; }
    void SetSwapInterval(int interval) override { swapIntervalsSet.push_back(interval); }

  private:
    IGLBinding& inner_;
};

class GLTest : public ::testing::Test {
  protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    void SetUp() override {
        // The fonts are drawn by the toolkit, whichever way the context is made.
        if (!EnsureGuiApplication()) GTEST_SKIP() << "no QGuiApplication could be started";
        binding_ = MakeOffscreenBinding(kWidth, kHeight);
        scripted_ = std::make_unique<ScriptedBinding>(*binding_);
        ogl_.SetErrorHandler([this](const TGLErrorReport& r) { reports_.push_back(r); });
        Script(*scripted_);
        ogl_.InitOnWindow(scripted_.get());
        if (!ogl_.IsReady() && ExpectsContext())
            GTEST_SKIP() << "no OpenGL context could be created on this machine (neither EGL "
                            "nor the toolkit offered one; install Mesa's EGL and DRI drivers)";
    }

    void TearDown() override { ogl_.Release(); }

    // Lets a fixture script the window system before the context is made.
    virtual void Script(ScriptedBinding&) {}
    virtual bool ExpectsContext() const { return true; }

    TPixelImage Read() { return binding_->ReadPixels(); }

    std::unique_ptr<IOffscreenBinding> binding_;
    std::unique_ptr<ScriptedBinding> scripted_;
    std::vector<TGLErrorReport> reports_;
    TOGL ogl_;  // declared last: released before the bindings go
};

// Channels within a tolerance, for colours that went through 8-bit rounding.
inline ::testing::AssertionResult ColourNear(const std::array<std::uint8_t, 4>& pixel, int r, int g,
                                             int b, int tolerance = 3) {
    auto off = [&](int have, int want) { return std::abs(have - want) > tolerance; };
    if (off(pixel[0], r) || off(pixel[1], g) || off(pixel[2], b))
        return ::testing::AssertionFailure()
               << "pixel (" << int(pixel[0]) << ", " << int(pixel[1]) << ", " << int(pixel[2])
               << ") is not near (" << r << ", " << g << ", " << b << ")";
    return ::testing::AssertionSuccess();
}
