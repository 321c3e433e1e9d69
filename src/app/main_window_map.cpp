// "Load MAP From File...": a Radiant map's worldspawn brushes converted into the MD3 model,
// from the menu, the general loader and dropped files.
#include <QAction>
#include <QApplication>
#include <QFileInfo>

#include "app/app_user_prompts.h"
#include "app/command_end.h"
#include "app/main_window.h"
#include "app/progress_dialog.h"
#include "assets/game_assets.h"
#include "assets/resolve_shader_image.h"
#include "image/image_size.h"
#include "import/level_map.h"

namespace {

const char* const kMapTitle = "Select a map to load";
const char* const kMapFilter = "Quake Map (.map)|*.map";

// The sizes of the images the map's texture names stand for, looked up in the window's game
// data. Shaders found on the way go to `shaders`, a store of the conversion's own: the
// model's is filled when the converted model is textured.
TTextureSizeLookup GameTextureSizes(const TGameAssets& assets, TShaders& shaders,
                                    const QString& mapDir) {
    TModelOrigin origin;
    origin.loadedFromFile = true;
    origin.modelDir = mapDir.toStdString();
    return
        [&assets, &shaders, origin](const std::string& name) -> std::optional<std::pair<int, int>> {
            const TShaderImage image = ResolveShaderImage(name, assets, origin, shaders);
            if (image.imagePath.empty()) return std::nullopt;
            const std::optional<ImageSize> size = ReadImageFileSize(image.imagePath);
            if (!size) return std::nullopt;
            return std::pair{size->width, size->height};
        };
}

}  // namespace

void TMainWindow::BuildMapAction() {
    auto* action = new QAction("Load MAP From File...", this);
    action->setObjectName("actionFileImportMapAsMD3");
    action->setShortcut(QKeySequence("Ctrl+Alt+M"));
    connect(action, &QAction::triggered, this, [this] { Guarded([this] { LoadMapCommand(); }); });
}

void TMainWindow::LoadMapCommand() {
    TConvertedMap map;
    RunLoadFrame(
        [this] {
            int filterIndex = 0;
            return prompts_.openFile
                       ? prompts_.openFile(kMapTitle, DialogFilter(kMapFilter).split(";;"),
                                           filterIndex)
                       : QString();
        },
        [this, &map](const QString&, TModelDocument& model, QString& status) {
            return TakeConvertedMap(map, model, status);
        },
        "Save as MD3",
        [this, &map](const QString& fileName) {
            map = ConvertMapFile(fileName);
            if (map.result != TConvertedMap::Result::Cancelled) return true;
            SetStatus(map.status);
            return false;
        });
}

void TMainWindow::LoadMapFromFile(const QString& fileName) {
    presetFileName_ = fileName;
    skipDialog_ = true;
    Guarded([this] { LoadMapCommand(); });
    skipDialog_ = false;
}

TMainWindow::TConvertedMap TMainWindow::ConvertMapFile(const QString& fileName) {
    using Result = TConvertedMap::Result;
    TConvertedMap converted;
    TShaders sizeShaders;  // declared first: the map's lookup refers to it
    TLevelMap map;
    const QString mapDir = QFileInfo(fileName).absolutePath() + "/";
    if (!assets_.GamePath().empty())
        map.SetTextureSizeLookup(GameTextureSizes(assets_, sizeShaders, mapDir));
    const StatusFn statusFn = [this](const std::string& text) {
        SetStatus(QString::fromStdString(text));
    };
    bool loaded = false;
    {
        DialogProgress progress(this, "Converting map...");
        loaded = map.LoadMap(fileName.toStdString(), statusFn, &progress);
    }
    const QString name = QFileInfo(fileName).fileName();
    const auto reason = [&map] {
        return QString::fromStdString(
            map.LastError().empty() ? std::string("the file cannot be read") : map.LastError());
    };
    if (!loaded) {
        if (map.Cancelled()) {
            converted.result = Result::Cancelled;
            converted.status = "MAP not loaded: cancelled";
        } else {
            converted.status = "MAP not loaded: " + name + ": " + reason();
        }
        return converted;
    }
    TAppUserPrompts prompts(prompts_);
    if (!map.ConvertToMD3(converted.model, &prompts)) {
        // A surface past the limits was offered a split in its own question; only a limit
        // no split can meet gets a message box of its own.
        if (map.LimitExceeded() && map.LastError().starts_with("MAX_SURFACES") && prompts_.message)
            prompts_.message("Veldra", QString::fromStdString(map.LastError()), true);
        converted.status = "MAP not converted: " + name + ": " + reason();
        return converted;
    }
    converted.result = Result::Converted;
    converted.status = "MAP loaded and converted to MD3";
    // Scaled positions no longer match the map's: the factor says by how much.
    if (!map.Note().empty())
        converted.status += QStringLiteral("; %1 (scaled by %2)")
                                .arg(QString::fromStdString(map.Note()))
                                .arg(static_cast<double>(map.ScaleFactor()), 0, 'g', 4);
    // Nothing of the map may vanish unmentioned.
    if (const std::string skipped = map.SkippedText(); !skipped.empty())
        converted.status += "; " + name + ": " + QString::fromStdString(skipped);
    return converted;
}

bool TMainWindow::TakeConvertedMap(TConvertedMap& map, TModelDocument& model, QString& status) {
    status = map.status;
    if (map.result != TConvertedMap::Result::Converted) return false;
    model.md3 = std::move(map.model);
    model.source = kModelSourceFile;
    model.kind = kModelKindMap;
    return true;
}
