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

TModelSnapshot CaptureModel(int kind, const TMD3& md3, const TMDM& mdm, const TMDX& mdx) {
    TModelSnapshot snapshot;
    if (IsMD3Family(kind)) {
        snapshot.md3 = md3;
    } else if (IsSkeletalFamily(kind)) {
        snapshot.mdm = mdm;
        // The pose buffers are the view's scratch space, rebuilt by every draw.
        snapshot.mdm->pose = {};
        snapshot.mdx = mdx;
    }
    return snapshot;
}

bool ModelMatches(const TModelSnapshot& s, int kind, const TMD3& md3, const TMDM& mdm,
                  const TMDX& mdx) {
    if (IsMD3Family(kind)) return s.md3 && SameModel(*s.md3, md3);
    if (IsSkeletalFamily(kind))
        return s.mdm && s.mdx && SameModel(*s.mdm, mdm) && SameModel(*s.mdx, mdx);
    return !s.md3 && !s.mdm && !s.mdx;
}

int FrameCount(int kind, const TMD3& md3, const TMDX& mdx) {
    return IsSkeletalFamily(kind) ? static_cast<int>(mdx.frames.size()) : md3.header.numFrames;
}

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
        if (undoDepth_ == 0) renameSnapshot_ = CaptureCurrentModel();
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
    if (undoDepth_ > 0 || modelKind_ == kModelKindNone) {
        command();
        return;
    }
    // An edit is made to the model, so the view shows the model, not a lower level of it.
    if (md3LevelShown_ > 0) ShowMD3Level(0);
    TModelSnapshot before = CaptureCurrentModel();
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

TModelSnapshot TMainWindow::CaptureCurrentModel() const {
    return CaptureModel(modelKind_, md3_, mdm_, mdx_);
}

void TMainWindow::RecordIfChanged(const QString& name, TModelSnapshot before) {
    if (ModelMatches(before, modelKind_, md3_, mdm_, mdx_)) return;
    // A command that replaced the model's family has nothing this history could give back.
    if (IsMD3Family(modelKind_) != before.md3.has_value()) {
        undoHistory_.Clear();
    } else {
        const std::size_t bytes = SnapshotBytes(before);
        undoHistory_.Record(name.toStdString(), std::move(before), bytes);
    }
    ShowUndoState();
}

void TMainWindow::UndoCommand(bool redo) {
    if (redo ? !undoHistory_.CanRedo() : !undoHistory_.CanUndo()) return;
    const QString name =
        QString::fromStdString(redo ? undoHistory_.RedoName() : undoHistory_.UndoName());
    const int framesBefore = FrameCount(modelKind_, md3_, mdx_);
    TModelSnapshot current = CaptureModel(modelKind_, md3_, mdm_, mdx_);
    const std::size_t bytes = SnapshotBytes(current);
    TModelSnapshot state = redo ? undoHistory_.Redo(std::move(current), bytes)
                                : undoHistory_.Undo(std::move(current), bytes);
    if (state.md3) md3_ = std::move(*state.md3);
    if (state.mdm) {
        TSkeletalPoseBuffers pose = std::move(mdm_.pose);
        mdm_ = std::move(*state.mdm);
        mdm_.pose = std::move(pose);
    }
    if (state.mdx) mdx_ = std::move(*state.mdx);
    // The frames may be another file's of the character's group now.
    if (characterGroup_) characterGroup_->loaded.reset();

    RefreshFamilyPanels(panels_->SelectedSurface());
    if (FrameCount(modelKind_, md3_, mdx_) != framesBefore) ResetAnimationControls();
    ResolveSurfaces();
    ShowUndoState();
    SetStatus((redo ? "Redone: " : "Undone: ") + name);
    RedrawView();
}

void TMainWindow::ForgetUndoHistory() {
    undoHistory_.Clear();
    renameSnapshot_.reset();
    lodSnapshot_.reset();
    ShowUndoState();
}

void TMainWindow::MarkModelSaved() {
    undoHistory_.MarkSaved();
    ShowUndoState();
}

void TMainWindow::ShowUndoState() {
    if (actionEditUndo_ == nullptr) return;
    actionEditUndo_->setText(MenuText(QStringLiteral("Undo"), undoHistory_.UndoName()));
    actionEditUndo_->setEnabled(undoHistory_.CanUndo());
    actionEditRedo_->setText(MenuText(QStringLiteral("Redo"), undoHistory_.RedoName()));
    actionEditRedo_->setEnabled(undoHistory_.CanRedo());
    QString title = gbModel_->title();
    while (title.endsWith('*'))
        title.chop(1);
    if (modelKind_ != kModelKindNone && !undoHistory_.AtSavedState()) title += '*';
    gbModel_->setTitle(title);
}
