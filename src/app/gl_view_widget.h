// The 3-D view: a QOpenGLWidget that is also the render context's window-system binding.
// Drawing happens in paintGL, so every redraw request becomes update().
#pragma once

#include <QOpenGLWidget>
#include <functional>

#include "render/gl/gl_binding.h"

class TGLViewWidget : public QOpenGLWidget, public IGLBinding {
    Q_OBJECT
  public:
    explicit TGLViewWidget(QWidget* parent = nullptr);

    // The format every context of the program asks for: compatibility profile (the drawing
    // is fixed-function), 24-bit depth, 8-bit stencil, alpha, vertical sync.
    static QSurfaceFormat ViewFormat();

    std::function<void()> onContextReady;  // once, when the widget's context exists
    std::function<void()> onPaint;         // draw one frame
    std::function<void(int, int)> onResize;

    // IGLBinding
    int Width() const override;
    int Height() const override;
    bool HasSurface() const override;
    TGLCreateResult CreateContext() override;
    bool HasContext() const override;
    void DestroyContext() override {}
    bool MakeCurrent() override;
    void DoneCurrent() override { doneCurrent(); }
    void SwapBuffers() override {}
    bool DrawsToWindowBuffers() const override { return false; }
    std::string ExtensionString() const override;
    TGLProc ProcAddress(const char* name) const override;
    // The swap interval is part of the format the context was made with.
    bool HasSwapControl() const override { return false; }
    int SwapInterval() const override { return format().swapInterval(); }
    void SetSwapInterval(int) override {}

  protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
};
