// The lower levels of detail of a loaded MD3 ("X_1", "X_2", an MDC where no MD3 is), found
// where the model came from: beside its file, or in the archives it was taken from. The View
// tab's "LOD" choice shows one of them instead of the model, textured with the model's skin
// and game data and at the frame the game would show; the model itself stays what is edited
// and saved.
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "app/main_window.h"
#include "assets/surface_resolution.h"
#include "io/file_error.h"
#include "render/gl/stage_textures.h"

void TMainWindow::BuildMD3LevelChoice(QWidget* tab, QVBoxLayout* layout) {
    auto* label = new QLabel("LOD", tab);
    cbMD3Lod_ = new QComboBox(tab);
    cbMD3Lod_->setObjectName("cbMD3Lod");
    cbMD3Lod_->setToolTip(
        "The level of detail to show: 0 is the model, 1 and 2 the X_1 and X_2 files the game "
        "loads with it");
    label->setBuddy(cbMD3Lod_);
    connect(cbMD3Lod_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        Guarded([this, index] { ShowMD3Level(cbMD3Lod_->itemData(index).toInt()); });
    });
    layout->addWidget(label);
    layout->addWidget(cbMD3Lod_);
    ForgetMD3Levels();
}

void TMainWindow::ForgetMD3Levels() {
    md3Levels_.clear();
    md3LevelShown_ = 0;
    md3Level_.Clear();
    md3LevelShaders_.ClearShaders();
    if (cbMD3Lod_ == nullptr) return;
    cbMD3Lod_->clear();
    cbMD3Lod_->addItem("0", 0);
    cbMD3Lod_->setEnabled(false);
}

void TMainWindow::FindMD3Levels(const std::string& name, const TGameFileFinder& find) {
    ForgetMD3Levels();
    if (!IsMD3Family(document_.kind)) return;
    const std::string model = FindModelFile(name, find);
    if (model.empty()) return;
    md3Levels_.push_back({0, model});
    for (TModelLevelFile& level : FindLowerModelLevels(name, find))
        md3Levels_.push_back(std::move(level));
    cbMD3Lod_->clear();
    for (const TModelLevelFile& level : md3Levels_) {
        cbMD3Lod_->addItem(QString::number(level.level) + ": " +
                               QFileInfo(QString::fromStdString(level.file)).fileName(),
                           level.level);
    }
    cbMD3Lod_->setEnabled(md3Levels_.size() > 1);
}

void TMainWindow::ShowMD3Level(int level) {
    if (level == md3LevelShown_ || md3Levels_.empty()) return;
    md3LevelShown_ = 0;
    md3Level_.Clear();
    const auto shown = [this](int at) {
        cbMD3Lod_->setCurrentIndex(std::max(0, cbMD3Lod_->findData(at)));
        RedrawView();
    };
    if (level == 0) {
        SetStatus("LOD 0 shown");
        shown(0);
        return;
    }
    const auto found = std::find_if(md3Levels_.begin() + 1, md3Levels_.end(),
                                    [level](const TModelLevelFile& l) { return l.level == level; });
    if (found == md3Levels_.end()) return;
    std::string reason;
    try {
        if (!md3Level_.LoadFromFile(found->file)) reason = md3Level_.LastError();
    } catch (const FileError& e) {
        reason = e.what();
    }
    if (reason.empty() && md3Level_.header.numFrames < 1) reason = "it has no frame";
    if (!reason.empty()) {
        md3Level_.Clear();
        SetStatus(QString::fromStdString("LOD " + std::to_string(level) + " not shown: \"" +
                                         found->file + "\": " + reason));
        shown(0);
        return;
    }
    // The indexes in the file name entries of a store that is not this one.
    for (TSurface& s : md3Level_.header.surfaces)
        for (TMD3Shader& shader : s.shaders)
            shader.shaderIndex = -1;
    md3LevelShown_ = level;
    if (ogl_.IsReady()) {
        ogl_.MakeCurrent();
        ShowProblems(TextureMD3Level());
    }
    SetStatus(QString::fromStdString("LOD " + std::to_string(level) + " shown: " + found->file));
    shown(level);
}

std::vector<std::string> TMainWindow::TextureMD3Level() {
    if (md3LevelShown_ == 0) return {};
    const TModelOrigin origin = ModelOrigin();
    const TSurfaceResolution resolution =
        ResolveSurfaceShaders(MD3SurfaceShaderRefs(md3Level_), assets_, origin, md3LevelShaders_);
    SetMD3ShaderIndices(md3Level_, resolution);
    std::vector<std::string> problems = resolution.problems;
    for (std::string& p : CreateStageTextures(md3LevelShaders_, textures_,
                                              static_cast<float>(gamma_), assets_, origin))
        problems.push_back(std::move(p));
    return problems;
}
