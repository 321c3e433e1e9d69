#include "cli/render/qt_message_filter.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace {

QtMessageHandler gPreviousHandler = nullptr;

void FilterMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    if (gPreviousHandler != nullptr) {
        gPreviousHandler(type, context, text);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace

void InstallQtMessageFilter() {
    if (!qEnvironmentVariableIsEmpty("VELDRA_DEBUG")) return;
    const QtMessageHandler previous = qInstallMessageHandler(FilterMessage);
    if (previous != FilterMessage) gPreviousHandler = previous;
}
