// The commands of the skeletal family: their actions and menu entries, and the export of a
// frame range to MD3, the default bone names, scaled weights and smoothed surfaces.
#include <QAction>
#include <QMenu>
#include <QTreeWidget>

#include "app/animation_controls.h"
#include "app/app_user_prompts.h"
#include "app/busy_while.h"
#include "app/edit_input.h"
#include "app/main_window.h"
#include "app/model_panels.h"
#include "app/progress_dialog.h"
#include "skeletal/skeletal_edits.h"
#include "skeletal/skeletal_export.h"

void TMainWindow::BuildSkeletalActions() {
    // `edit`: the command changes the loaded player and goes through the undo history.
    auto add = [this](const char* name, const char* caption, const char* shortcut, bool edit,
                      std::function<void()> run) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        if (*shortcut != '\0') action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        connect(action, &QAction::triggered, this, [this, action, edit, run] {
            Guarded([&] {
                if (edit) {
                    Undoable(action, run);
                } else {
                    run();
                }
            });
        });
        return action;
    };
    // The pair loads a whole model and is always offered; the rest needs one loaded. A part
    // loaded into the player is a change that can be taken back like an edit.
    add("actionFileLoadMDMMDX", "Load MDM/MDX From File...", "Ctrl+Alt+X", false,
        [this] { LoadMDMMDXCommand(); });
    skeletalActions_ = {
        add("actionFileLoadMDX", "Load MDX From File...", "", true,
            [this] { LoadPartCommand(TPartialLoad::Animation); }),
        add("actionFileLoadMDXbones", "Load MDX Bones From File...", "", true,
            [this] { LoadPartCommand(TPartialLoad::Bones); }),
        add("actionFileLoadMDXframes", "Load MDX Frames From File...", "", true,
            [this] { LoadPartCommand(TPartialLoad::Frames); }),
        add("actionFileLoadMDMtags", "Load MDM Tags From File...", "", true,
            [this] { LoadPartCommand(TPartialLoad::Tags); }),
        add("actionModelMDMMDXframesToMD3", "Export Frames-range To MD3", "", false,
            [this] { ExportFramesCommand(); }),
        add("actionModelMDMMDXRenameBones", "Default MDM/MDX Bone-names", "", true,
            [this] { RenameBonesCommand(); }),
        add("actionModelMDMMDXScaleBones", "Scale Weights...", "", true,
            [this] { ScaleWeightsCommand(); }),
        add("actionModelMDMMDXSmoothSurface", "Smooth Current Surface", "", true,
            [this] { SmoothSkeletalSurfaceCommand(); }),
    };
    BuildLodCommands();
}

int TMainWindow::SelectedMDMSurface() const {
    if (!IsSkeletalFamily(document_.kind) || document_.mdx.frames.empty()) return -1;
    const int surface = panels_->SelectedSurface();
    return document_.mdm.ValidSurface(surface) ? surface : -1;
}

void TMainWindow::AfterSkeletalEdit() {
    panels_->RefreshSkeletalPanels(document_.kind);
    RedrawView();
}

void TMainWindow::ExportFramesCommand() {
    SetStatus("");
    if (!IsSkeletalFamily(document_.kind)) return;
    const int start = animation_->StartFrame();
    const int end = animation_->EndFrame();
    TExportOutcome outcome;
    {
        // Baking poses the mesh frame after frame; the view waits for the end.
        BusyWhile busy(busy_);
        TAppUserPrompts prompts(prompts_);
        // The progress shows once the questions are answered and the bake runs.
        DialogProgress progress(this, "Baking frames...");
        // The exported file is written, not loaded: the skeletal model stays the one shown,
        // with its name and unsaved state.
        TMD3 baked;
        outcome = ExportFramesRangeToMD3(document_.mdm, document_.mdx, start, end, baked, prompts,
                                         &progress);
    }
    using Result = TExportOutcome::Result;
    if (outcome.result == Result::Saved) {
        SetStatus(QString::fromStdString(outcome.status) + ClampedText(outcome.clamped));
    } else if (outcome.result == Result::Failed) {
        SetStatus("Frames not exported: " + QString::fromStdString(outcome.error));
    } else if (outcome.result == Result::Cancelled) {
        SetStatus("Frames not exported: cancelled");
    }
    RedrawView();
}

void TMainWindow::RenameBonesCommand() {
    SetStatus("");
    if (!IsSkeletalFamily(document_.kind)) return;
    if (panels_->BonesTreeEntries() != static_cast<int>(kDefaultBoneNames.size())) return;
    if (!SetDefaultBoneNames(document_.mdx)) return;
    AfterSkeletalEdit();
}

void TMainWindow::ScaleWeightsCommand() {
    SetStatus("");
    if (!IsSkeletalFamily(document_.kind)) return;
    TAppUserPrompts prompts(prompts_);
    if (!AskAndScaleWeights(document_.mdm, prompts)) return;
    AfterSkeletalEdit();
}

void TMainWindow::SmoothSkeletalSurfaceCommand() {
    SetStatus("");
    const int surface = SelectedMDMSurface();
    if (surface < 0) return;
    const auto index = static_cast<std::uint32_t>(surface);
    if (!SmoothSurface(document_.mdm, document_.mdx, index)) return;
    panels_->RefreshSkeletalPanels(document_.kind);
    const std::string status = SmoothedStatusText(document_.mdm, index);
    SetStatus(QString::fromLatin1(status.data(), static_cast<qsizetype>(status.size())));
    RedrawView();
}
