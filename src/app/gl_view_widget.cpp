#include "app/gl_view_widget.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <QSurfaceFormat>

#include "render/gl/context_format.h"

TGLViewWidget::TGLViewWidget(QWidget* parent) : QOpenGLWidget(parent) {
    setFormat(ViewFormat());
    // The drawing writes no alpha (the colour mask leaves it alone), so the picture must not
    // carry any: with an alpha channel the toolkit would compose it as transparent.
    setTextureFormat(0x8051);  // GL_RGB8
    // The scene is drawn only while the "View" tab shows; on the other tabs the last frame
    // must stay on screen instead of a cleared picture.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setMinimumSize(64, 64);
    setMouseTracking(true);
}

QSurfaceFormat TGLViewWidget::ViewFormat() {
    QSurfaceFormat format = ContextFormat();
    format.setSwapInterval(1);  // wait for the vertical retrace
    return format;
}

int TGLViewWidget::Width() const {
    return static_cast<int>(width() * devicePixelRatioF());
}
int TGLViewWidget::Height() const {
    return static_cast<int>(height() * devicePixelRatioF());
}

bool TGLViewWidget::HasSurface() const {
    return isValid();
}

TGLCreateResult TGLViewWidget::CreateContext() {
    // Qt makes the context when the widget is first shown; there is nothing to create.
    return isValid() ? TGLCreateResult::kOk : TGLCreateResult::kNoContext;
}

bool TGLViewWidget::HasContext() const {
    return context() != nullptr && context()->isValid();
}

bool TGLViewWidget::MakeCurrent() {
    if (!isValid()) return false;
    makeCurrent();
    return true;
}

std::string TGLViewWidget::ExtensionString() const {
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return text != nullptr ? text : "";
}

TGLProc TGLViewWidget::ProcAddress(const char* name) const {
    return context() != nullptr ? reinterpret_cast<TGLProc>(context()->getProcAddress(name))
                                : nullptr;
}

void TGLViewWidget::initializeGL() {
    if (onContextReady) onContextReady();
}

void TGLViewWidget::paintGL() {
    if (onPaint) onPaint();
}

void TGLViewWidget::resizeGL(int w, int h) {
    if (onResize)
        onResize(static_cast<int>(w * devicePixelRatioF()),
                 static_cast<int>(h * devicePixelRatioF()));
}
