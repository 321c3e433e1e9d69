// Veldra: the desktop program.
#include <QApplication>
#include <QSurfaceFormat>

#include "app/gl_view_widget.h"

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(TGLViewWidget::ViewFormat());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Veldra");
    return 0;
}
