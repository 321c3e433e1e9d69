// Veldra: the desktop program.
#include <QApplication>
#include <QSurfaceFormat>

#include "app/desktop_dialogs.h"
#include "app/gl_view_widget.h"
#include "app/main_window.h"
#include "io/time_zone.h"

int main(int argc, char** argv) {
    LoadLocalTimeZoneOnce();
    QSurfaceFormat::setDefaultFormat(TGLViewWidget::ViewFormat());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Veldra");
    TMainWindow window(QCoreApplication::applicationDirPath());
    UseDesktopDialogs(window);
    window.OpenAtStart(QApplication::arguments().mid(1));
    window.show();
    const int code = app.exec();
    return window.StartupExitCode() != 0 ? window.StartupExitCode() : code;
}
