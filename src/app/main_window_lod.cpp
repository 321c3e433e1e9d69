// Level of detail and MDS models in the main window: the LOD controls of the View tab and
// their preview switch, "Calculate LOD", and "Load MDS From File...", which converts the MDS
// at once into the MDM/MDX pair the rest of the program works on.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QSlider>

#include "app/app_user_prompts.h"
#include "app/command_end.h"
#include "app/lod_panel.h"
#include "app/main_window.h"
#include "app/model_panels.h"
#include "app/progress_dialog.h"
#include "lod/collapse_map.h"
#include "skeletal/mds_convert.h"
#include "skeletal/skeletal_pair.h"

void TMainWindow::BuildLodCommands() {
    lodPanel_ = new TLodPanel(gbLOD_, cbLODEnabled_, tLODpresence_, document_.mdm);
    connect(cbLODEnabled_, &QCheckBox::toggled, this, [this](bool on) {
        switches_.lodEnabled = on;
        RedrawView();
    });
    panels_->afterSkeletalRefresh = [this] { lodPanel_->RefreshFromMesh(); };
    // A drag of the minimum slider is one step of the history, however many values it passes.
    lodPanel_->beforeMinimumChange = [this] {
        if (undoDepth_ == 0 && !lodSnapshot_) lodSnapshot_ = document_.Capture();
    };
    const auto recordMinimum = [this] {
        if (!lodSnapshot_ || lodPanel_->Minimum()->isSliderDown()) return;
        TModelSnapshot before = std::move(*lodSnapshot_);
        lodSnapshot_.reset();
        RecordIfChanged(QStringLiteral("Change LOD Minimum"), std::move(before));
    };
    connect(lodPanel_, &TLodPanel::minimumChanged, this, recordMinimum);
    connect(lodPanel_->Minimum(), &QSlider::sliderReleased, this, recordMinimum);

    auto* calculate = new QAction(QStringLiteral("Calculate LOD"), this);
    calculate->setObjectName("actionModelMDMMDXCalculateLOD");
    connect(calculate, &QAction::triggered, this, [this] {
        Guarded([this] { Undoable("Calculate LOD", [this] { CalculateLodCommand(); }); });
    });
    skeletalActions_.push_back(calculate);

    auto* loadMDS = new QAction(QStringLiteral("Load MDS From File..."), this);
    loadMDS->setObjectName("actionFileLoadMDS");
    loadMDS->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    connect(loadMDS, &QAction::triggered, this, [this] { Guarded([this] { LoadMDSCommand(); }); });
}

void TMainWindow::CalculateLodCommand() {
    if (!IsSkeletalFamily(document_.kind)) return;
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The frames where the game's player animation stands still.
    const std::uint32_t frame = document_.kind == kModelKindMDMMDX ? kLodFrameMDMMDX
                                : document_.kind == kModelKindMDS  ? kLodFrameMDS
                                                                   : 0;
    DialogProgress progress(this, "Calculating LOD...");
    if (!TCollapseMap().CalculateLod(document_.mdm, document_.mdx, frame, &progress)) {
        status = progress.Cancelled()
                     ? "LOD not calculated: cancelled"
                     : "LOD not calculated: the mesh cannot be posed with its animation";
        return;
    }
    lodPanel_->ShowCalculated();
    status =
        "LOD calculated at frame " + QString::number(TCollapseMap::LodFrame(document_.mdx, frame));
}

void TMainWindow::LoadMDSCommand() {
    RunLoadFrame(
        [this] {
            int filterIndex = 0;
            return prompts_.openFile
                       ? prompts_.openFile("Select a playermodel to load",
                                           DialogFilter("ET model  (.MDS)|*.MDS").split(";;"),
                                           filterIndex)
                       : QString();
        },
        [this](const QString& fileName, TModelDocument& model, QString& status) {
            return LoadMDSFile(model, fileName, status);
        },
        "Save as MDM/MDX");
}

void TMainWindow::LoadMDSFromFile(const QString& fileName) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this] { LoadMDSCommand(); });
    skipDialog_ = false;
}

bool TMainWindow::LoadMDSFile(TModelDocument& model, const QString& fileName, QString& status) {
    TMDS mds;
    if (!mds.LoadFromFile(fileName.toStdString())) {
        status = "MDS not loaded: " + QFileInfo(fileName).fileName() + ": " +
                 QString::fromStdString(mds.LastError());
        return false;
    }
    const TMDSConversion conversion = ConvertMDS(mds, model.mdm, model.mdx);
    model.mdm.ClearShaderIndexes();
    const std::string problem = SkeletalPairProblem(model.mdm, model.mdx);
    if (!problem.empty()) {
        status = "MDS not converted: " + QFileInfo(fileName).fileName() + ": " +
                 QString::fromStdString(problem);
        return false;
    }
    model.source = kModelSourceFile;
    model.kind = kModelKindMDS;
    status = "MDS loaded and converted to MDM/MDX";
    // What could not be carried over exactly is worth knowing before the pair is saved.
    if (!conversion.notes.empty()) {
        status += " (" + QString::number(conversion.notes.size()) +
                  " notes, first: " + QString::fromStdString(conversion.notes.front()) + ")";
    }
    return true;
}
