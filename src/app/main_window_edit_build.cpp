// The edit commands of the MD3 family: their actions, the "Model" menu, the tag entry group
// of the "Tags" tab, and which of them the loaded model's family enables.
#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QWidget>

#include "app/main_window.h"
#include "app/model_panels.h"
#include "app/tag_entry.h"
#include "render/scene_settings.h"

namespace {

// Which loaded models enable an edit command.
enum class Enabled { MD3Family, BothFamilies };

QAction* FindAction(QObject* window, const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

}  // namespace

void TMainWindow::BuildEditActions() {
    auto add = [this](const char* name, const char* caption, const char* shortcut, Enabled enabled,
                      std::function<void()> run) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        if (*shortcut != '\0') action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        connect(action, &QAction::triggered, this,
                [this, action, run] { Guarded([&] { Undoable(action, run); }); });
        (enabled == Enabled::MD3Family ? md3EditActions_ : modelEditActions_).push_back(action);
    };
    const Enabled md3 = Enabled::MD3Family;
    const Enabled both = Enabled::BothFamilies;

    add("actionFileAddframe", "Add Frame[0] From...", "Ctrl+Alt+A", md3,
        [this] { AddFramesCommand(false); });
    add("actionFileAddframesequence", "Add frames[0] From Sequence...", "", md3,
        [this] { AddFrameSequenceCommand(); });
    add("actionFileAddframes", "Add All Frames From...", "", md3,
        [this] { AddFramesCommand(true); });
    add("actionModelDeleteframe", "Delete Current Frame...", "Ctrl+Alt+D", md3,
        [this] { DeleteFrameCommand(); });

    add("actionModelMD3FlipX", "Mirror X", "", md3, [this] { MirrorCommand(0); });
    add("actionModelMD3FlipY", "Mirror Y", "", md3, [this] { MirrorCommand(1); });
    add("actionModelMD3FlipZ", "Mirror Z", "", md3, [this] { MirrorCommand(2); });
    add("actionModelMD3FlipNormals", "Mirror Normals", "", md3, [this] { MirrorNormalsCommand(); });
    add("actionModelMD3FlipWinding", "Reverse Winding", "", md3,
        [this] { ReverseWindingCommand(); });
    add("actionModelMD3RotateX", "Rotate Model Around X-Axis...", "", md3,
        [this] { RotateCommand(0); });
    add("actionModelMD3RotateY", "Rotate Model Around Y-Axis...", "", md3,
        [this] { RotateCommand(1); });
    add("actionModelMD3RotateZ", "Rotate Model Around Z-Axis...", "", md3,
        [this] { RotateCommand(2); });
    add("actionModelMD3Scale", "Scale...", "", md3, [this] { ScaleCommand(); });
    add("actionModelMD3TagAsOrigin", "Use Pivot-Tag As Origin", "", md3,
        [this] { TagAsOriginCommand(); });

    add("menuModelTagsInvertX", "Invert X Axis", "F5", md3,
        [this] { TagAxesCommand(&TMD3::TagsInvertX); });
    add("menuModelTagsInvertY", "Invert Y Axis", "F6", md3,
        [this] { TagAxesCommand(&TMD3::TagsInvertY); });
    add("menuModelTagsInvertZ", "Invert Z Axis", "F7", md3,
        [this] { TagAxesCommand(&TMD3::TagsInvertZ); });
    add("menuModelTagsSwapXY", "Swap XY Axis", "Ctrl+F5", md3,
        [this] { TagAxesCommand(&TMD3::TagsSwapXY); });
    add("menuModelTagsSwapXZ", "Swap XZ Axis", "Ctrl+F6", md3,
        [this] { TagAxesCommand(&TMD3::TagsSwapXZ); });
    add("menuModelTagsSwapYZ", "Swap YZ Axis", "Ctrl+F7", md3,
        [this] { TagAxesCommand(&TMD3::TagsSwapYZ); });

    add("actionModelMD3SwapUVST", "Swap Texturecoords UV-ST", "", md3,
        [this] { SwapTexCoordsCommand(); });
    add("actionModelMD3RemoveSurface", "Remove Current Surface", "", both,
        [this] { RemoveSurfaceCommand(); });
    add("actionModelMD3SurfacesCompact", "Compact", "", md3, [this] { CompactSurfacesCommand(); });

    add("actionModelCalculateNormals", "Recalculate Normals", "", both,
        [this] { RecalculateNormalsCommand(); });
    add("actionModelMD3SmoothSurface", "Smooth Current Surface", "", md3,
        [this] { SmoothSurfaceCommand(); });
    // The menu item is the family-neutral entry; it runs the smoothing of the model's family.
    add("menuModelSmoothSurface", "Smooth Current Surface", "", both, [this] {
        FindAction(this, IsSkeletalFamily(document_.kind) ? "actionModelMDMMDXSmoothSurface"
                                                          : "actionModelMD3SmoothSurface")
            ->trigger();
    });
    add("actionModelMD3FixCracksGaps", "Fix Cracks && Gaps for Current Surface...", "", md3,
        [this] { FixCracksCommand(); });
}

void TMainWindow::BuildEditMenus() {
    menuModel_ = menuBar()->addMenu(QStringLiteral("&Model"));
    menuModel_->setObjectName("menuModel");
    auto put = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names)
            menu->addAction(FindAction(this, name));
    };

    QMenu* animation = menuModel_->addMenu(QStringLiteral("Animation"));
    animation->setObjectName("menuModelAnimation");
    put(animation, {"actionFileAddframe", "actionFileAddframesequence", "actionFileAddframes"});
    animation->addSeparator();
    put(animation, {"actionModelDeleteframe"});

    menuModel_->addSeparator();
    put(menuModel_, {"actionModelMD3FlipX", "actionModelMD3FlipY", "actionModelMD3FlipZ",
                     "actionModelMD3FlipNormals", "actionModelMD3FlipWinding"});
    menuModel_->addSeparator();
    put(menuModel_, {"actionModelMD3RotateX", "actionModelMD3RotateY", "actionModelMD3RotateZ",
                     "actionModelMD3Scale", "actionModelMD3TagAsOrigin"});
    menuModel_->addSeparator();
    QMenu* tags = menuModel_->addMenu(QStringLiteral("Tags"));
    tags->setObjectName("menuModelTags");
    put(tags, {"menuModelTagsInvertX", "menuModelTagsInvertY", "menuModelTagsInvertZ"});
    tags->addSeparator();
    put(tags, {"menuModelTagsSwapXY", "menuModelTagsSwapXZ", "menuModelTagsSwapYZ"});
    put(menuModel_, {"actionModelMD3SwapUVST"});
    menuModel_->addSeparator();
    put(menuModel_, {"actionModelMD3RemoveSurface", "actionModelMD3SurfacesCompact"});
    menuModel_->addSeparator();
    put(menuModel_,
        {"actionModelCalculateNormals", "menuModelSmoothSurface", "actionModelMD3FixCracksGaps"});

    menuModel_->addSeparator();
    put(menuModel_, {"actionModelMDMMDXframesToMD3", "actionModelMDMMDXCalculateLOD"});
    menuBones_ = menuModel_->addMenu(QStringLiteral("&Bones"));
    menuBones_->setObjectName("menuBones");
    put(menuBones_, {"actionModelMDMMDXRenameBones", "actionModelMDMMDXScaleBones"});
}

void TMainWindow::BuildTagEntry() {
    tagEntry_ = std::make_unique<TTagEntry>(panels_->TagsPage());
    connect(tagEntry_->FromFileButton(), &QPushButton::clicked, this, [this] {
        Guarded([this] { Undoable("Add Tags From File", [this] { AddTagsFromFileCommand(); }); });
    });
    connect(tagEntry_->AddButton(), &QPushButton::clicked, this, [this] {
        Guarded([this] { Undoable("Add Tag", [this] { AddTagManuallyCommand(); }); });
    });
    connect(tagEntry_->SaveButton(), &QPushButton::clicked, this,
            [this] { Guarded([this] { SaveTagsCommand(); }); });

    // Frames are added from the "Model" menu; the page's frame-copy group stays hidden.
    auto* copyFrames = new QGroupBox(QStringLiteral("Copy Frames"), panels_->AnimationPage());
    copyFrames->setObjectName("gbCopyFrames");
    if (auto* form = qobject_cast<QFormLayout*>(panels_->AnimationPage()->layout()))
        form->addRow(copyFrames);
    copyFrames->hide();
}

void TMainWindow::EnableEditCommands() {
    const bool md3 = IsMD3Family(document_.kind);
    const bool any = md3 || IsSkeletalFamily(document_.kind);
    for (QAction* action : md3EditActions_)
        action->setEnabled(md3);
    for (QAction* action : modelEditActions_)
        action->setEnabled(any);
    const bool skeletal = IsSkeletalFamily(document_.kind);
    for (QAction* action : skeletalActions_)
        action->setEnabled(skeletal);
    if (menuBones_ != nullptr) menuBones_->setEnabled(skeletal);
    if (tagEntry_ != nullptr) tagEntry_->Group()->setEnabled(md3);
}

void TMainWindow::MarkModelChanged() {
    gbModel_->setTitle(QString::fromStdString(document_.name) + "*");
}

void TMainWindow::AfterFrameEdit() {
    panels_->RefreshMD3Panels(document_.kind);
    ResetAnimationControls();
    RedrawView();
}
