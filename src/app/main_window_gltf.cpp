// File > "Export As glTF...": the loaded model, player or character as a glTF document for
// other 3D tools, textured the way the window textures it.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <map>

#include "app/command_end.h"
#include "app/main_window.h"
#include "app/menu_action.h"
#include "assets/surface_resolution.h"
#include "import/gltf_export.h"
#include "import/gltf_materials.h"
#include "io/file_names.h"

namespace {

const char* const kGltfTitle = "Export as glTF";
const char* const kGltfFilter = "glTF binary (.glb) (*.glb);;glTF (.gltf) (*.gltf)";

// One animation per entry of the list beside the MDX, else the whole animation.
std::vector<TGltfClip> ClipsOf(const TANINC& list, const TMDX& anim, const std::string& name) {
    std::vector<TGltfClip> clips;
    for (const TANINCFrame& e : list.frames) {
        if (e.firstFrame < 0 || e.numFrames <= 0 ||
            std::int64_t{e.firstFrame} + e.numFrames > std::int64_t(anim.frames.size()))
            continue;
        clips.push_back({e.name, static_cast<std::uint32_t>(e.firstFrame),
                         static_cast<std::uint32_t>(e.numFrames),
                         e.framesPerSecond > 0 ? double(e.framesPerSecond) : kGltfDefaultFps});
    }
    if (clips.empty() && !anim.frames.empty())
        clips.push_back({name, 0, static_cast<std::uint32_t>(anim.frames.size()), kGltfDefaultFps});
    return clips;
}

}  // namespace

void TMainWindow::BuildGltfExportAction() {
    QAction* action = MakeAction(this, "actionFileExportGltf", "Export As glTF...");
    connect(action, &QAction::triggered, this,
            [this] { Guarded([this] { ExportGltfCommand(); }); });
}

void TMainWindow::ExportGltfCommand() {
    SetStatus("");
    const bool skeletal = IsSkeletalFamily(document_.kind);
    if (!prompts_.saveFile || (!skeletal && !IsMD3Family(document_.kind))) return;
    busy_ = true;
    QString status;
    const TCommandEnd end([this, &status] { EndCommand(&status); });
    const QString fileName = prompts_.saveFile(kGltfTitle, kGltfFilter, "glb");
    if (fileName.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);

    const std::string stem =
        QFileInfo(QString::fromStdString(document_.name)).baseName().toStdString();
    const TModelOrigin origin = ModelOrigin();
    std::vector<std::string> problems;
    TGltfExport doc;
    if (skeletal) {
        const std::vector<TGltfMaterial> materials =
            ResolveGltfMaterials(MDMSurfaceShaderRefs(document_.mdm), assets_, origin, problems);
        if (!doc.AddPlayer(document_.mdm, document_.mdx,
                           ClipsOf(document_.aninc, document_.mdx, stem), materials)) {
            status = "Model not exported: the animation has no frames";
            return;
        }
        std::map<std::string, int> bodyTags;
        for (const TMDMTag& t : document_.mdm.tags)
            bodyTags.emplace(NameFieldText(t.name), doc.TagNode(NameFieldText(t.name)));
        // The head comes first, so that a hat finds the head's tag as the last of its name.
        for (const TAttachedModel& m : document_.attachments) {
            const auto onBody = bodyTags.find(m.where.tag);
            const int tag = m.where.onHead             ? doc.TagNode(m.where.tag)
                            : onBody != bodyTags.end() ? onBody->second
                                                       : -1;
            if (tag < 0) continue;
            doc.AttachMD3(m.model, tag,
                          ResolveGltfMaterialsWithSkin(MD3SurfaceShaderRefs(m.model), m.where.skin,
                                                       assets_, origin, problems),
                          m.where.slot);
        }
    } else {
        const TMD3& md3 = document_.md3;
        doc.AddMD3(md3, 0, static_cast<std::uint32_t>(std::max(1, md3.header.numFrames) - 1),
                   kGltfDefaultFps,
                   ResolveGltfMaterials(MD3SurfaceShaderRefs(md3), assets_, origin, problems),
                   stem);
    }
    std::string error;
    const QString shown = QFileInfo(fileName).fileName();
    if (!doc.Save(fileName.toStdString(), error)) {
        status = "Model not exported: " + QString::fromStdString(error);
        return;
    }
    status = "Model exported to file: " + shown;
    for (const std::string& note : doc.Notes())
        status += "; " + QString::fromStdString(note);
}
