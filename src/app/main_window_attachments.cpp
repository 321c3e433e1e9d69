// A character's head and accessories in the window: read after the body is loaded, textured
// whenever the body is, drawn on the posed body, and hidden or shown from the View menu.
// They are not part of the model the window edits and saves.
#include <QMenu>

#include "app/main_window.h"
#include "app/menu_action.h"
#include "render/gl/attachment_texturing.h"

void TMainWindow::BuildAttachmentSwitch() {
    QAction* item = MakeAction(this, "menuViewShowAttachments", "Show Attachments");
    item->setCheckable(true);
    item->setChecked(switches_.showAttachments);
    connect(item, &QAction::toggled, this, [this](bool on) {
        switches_.showAttachments = on;
        RedrawView();
    });
    menuView_->addAction(item);
}

void TMainWindow::LoadAttachments(const std::vector<TCharacterAttachment>& attachments,
                                  QString& status) {
    std::vector<std::string> unread;
    document_.attachments = LoadAttachedModels(attachments, unread);
    for (const std::string& problem : unread)
        status += "; " + QString::fromStdString(problem);
    if (document_.attachments.empty() || !ogl_.IsReady()) return;
    ogl_.MakeCurrent();
    ShowProblems(TextureAttachments());
    // The body was fitted alone before its head and helmet were read.
    if (!view_.lockView) ResetView();
    RedrawView();
}

std::vector<std::string> TMainWindow::TextureAttachments() {
    if (document_.attachments.empty()) return {};
    return TextureAttachedModels(document_.attachments, assets_, ModelOrigin(), textures_,
                                 static_cast<float>(gamma_));
}
