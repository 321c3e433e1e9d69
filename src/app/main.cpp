// Veldra: the desktop program.
#include <QApplication>
#include <QSurfaceFormat>
#include <cstdio>
#include <cstring>

#include "app/desktop_dialogs.h"
#include "app/gl_view_widget.h"
#include "app/main_window.h"
#include "io/time_zone.h"

namespace {

const char* const kHelpText =
    "Usage: veldra [FILE...]\n"
    "View, texture and edit the models of Quake III-engine games.\n"
    "\n"
    "FILE opens at start, as if dropped on the window:\n"
    "  .md3 .mdc            a model\n"
    "  .mdm and .mdx        a player mesh and its animation (both, or either alone)\n"
    "  .mds                 a skeletal model\n"
    "  .char                a character, with what it names\n"
    "  .tag                 a tag file, its tags shown\n"
    "  .skin                a skin, applied to the model it names\n"
    "  .pk3                 a game archive, opened in its browser\n"
    "  .ms3d .ase .map      an import, converted to an MD3\n"
    "\n"
    "Options:\n"
    "  -h, --help           print this help and exit\n"
    "  --version            print the version and exit\n"
    "\n"
    "veldra-cli does the same work without a window; see `veldra-cli --help`.\n";

// Answered before the toolkit starts, so that they need no display.
bool AnswerInformationOption(int argc, char** argv, int& exitCode) {
    for (int i = 1; i < argc; ++i) {
        // What follows "--" is a file name, whatever it looks like.
        if (std::strcmp(argv[i], "--") == 0) return false;
        if (std::strcmp(argv[i], "--version") == 0) {
            exitCode = std::printf("veldra %s\n", VELDRA_VERSION) < 0 ? 1 : 0;
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            exitCode = std::fputs(kHelpText, stdout) < 0 ? 1 : 0;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (int code = 0; AnswerInformationOption(argc, argv, code)) return code;
    LoadLocalTimeZoneOnce();
    QSurfaceFormat::setDefaultFormat(TGLViewWidget::ViewFormat());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Veldra");
    QApplication::setApplicationVersion(VELDRA_VERSION);
    TMainWindow window(QCoreApplication::applicationDirPath());
    UseDesktopDialogs(window);
    QStringList files = QApplication::arguments().mid(1);
    files.removeOne("--");
    window.OpenAtStart(files);
    window.show();
    const int code = app.exec();
    return window.StartupExitCode() != 0 ? window.StartupExitCode() : code;
}
