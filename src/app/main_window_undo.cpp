// Edit → Undo and Redo: every command that changes the loaded model runs through Undoable,
// which keeps a copy of the model as it was when the command changed it. The "*" of the
// model's caption says whether the model differs from the state last loaded or saved.
#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QMenu>

#include "app/main_window.h"
#include "app/model_panels.h"

namespace {

// "Rotate Model Around X-Axis..." → "Rotate Model Around X-Axis"; "Fix Cracks && Gaps" keeps
// one "&".
QString CommandName(QString text) {
    if (text.endsWith(QStringLiteral("..."))) text.chop(3);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text.trimmed();
}

// Menu texts show "&" doubled.
QString MenuText(const QString& verb, const std::string& name) {
    if (name.empty()) return verb;
    return verb + ' ' + QString::fromStdString(name).replace('&', QStringLiteral("&&"));
}

}  // namespace

void TMainWindow::BuildUndoActions(QMenu* edit) {
    actionEditUndo_ = new QAction(QStringLiteral("Undo"), this);
    actionEditUndo_->setObjectName("actionEditUndo");
    actionEditUndo_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    actionEditRedo_ = new QAction(QStringLiteral("Redo"), this);
    actionEditRedo_->setObjectName("actionEditRedo");
    actionEditRedo_->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    connect(actionEditUndo_, &QAction::triggered, this,
            [this] { Guarded([this] { UndoCommand(false); }); });
    connect(actionEditRedo_, &QAction::triggered, this,
            [this] { Guarded([this] { UndoCommand(true); }); });
    edit->addAction(actionEditUndo_);
    edit->addAction(actionEditRedo_);
    edit->addSeparator();

    // A surface name is written by the panel itself; the copy is taken just before.
    panels_->beforeSurfaceRename = [this] {
        if (undoDepth_ == 0) renameSnapshot_ = document_.Capture();
    };
    connect(panels_, &TModelPanels::surfaceRenamed, this, [this] {
        if (!renameSnapshot_) return;
        TModelSnapshot before = std::move(*renameSnapshot_);
        renameSnapshot_.reset();
        RecordIfChanged(QStringLiteral("Rename Surface"), std::move(before));
    });
    ShowUndoState();
}

void TMainWindow::Undoable(QAction* action, const std::function<void()>& command) {
    Undoable(CommandName(action->text()), command);
}

void TMainWindow::Undoable(const QString& name, const std::function<void()>& command) {
    // A command that runs another (the family-neutral smoothing) is one step.
    if (undoDepth_ > 0 || document_.Empty()) {
        command();
        return;
    }
    // An edit is made to the model, so the view shows the model, not a lower level of it.
    if (md3LevelShown_ > 0) ShowMD3Level(0);
    TModelSnapshot before = document_.Capture();
    ++undoDepth_;
    try {
        command();
    } catch (...) {
        // What the command changed before it failed can still be taken back.
        --undoDepth_;
        RecordIfChanged(name, std::move(before));
        throw;
    }
    --undoDepth_;
    RecordIfChanged(name, std::move(before));
    // Some commands put a "*" up themselves; the history has the last word.
    ShowUndoState();
}

void TMainWindow::RecordIfChanged(const QString& name, TModelSnapshot before) {
    if (document_.RecordIfChanged(name.toStdString(), std::move(before))) ShowUndoState();
}

void TMainWindow::UndoCommand(bool redo) {
    const int framesBefore = document_.FrameCount();
    const std::optional<std::string> step = document_.Step(redo);
    if (!step) return;
    RefreshFamilyPanels(panels_->SelectedSurface());
    if (document_.FrameCount() != framesBefore) ResetAnimationControls();
    ResolveSurfaces();
    ShowUndoState();
    SetStatus((redo ? "Redone: " : "Undone: ") + QString::fromStdString(*step));
    RedrawView();
}

void TMainWindow::MarkModelSaved() {
    document_.MarkSaved();
    ShowUndoState();
}

void TMainWindow::ShowUndoState() {
    if (actionEditUndo_ == nullptr) return;
    const TUndoHistory<TModelSnapshot>& history = document_.History();
    actionEditUndo_->setText(MenuText(QStringLiteral("Undo"), history.UndoName()));
    actionEditUndo_->setEnabled(history.CanUndo());
    actionEditRedo_->setText(MenuText(QStringLiteral("Redo"), history.RedoName()));
    actionEditRedo_->setEnabled(history.CanRedo());
    gbModel_->setTitle(QString::fromStdString(document_.Caption()));
    ShowTitle();
}
