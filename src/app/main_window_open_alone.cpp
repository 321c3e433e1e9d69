// Opening what a file manager hands over: every kind the desktop entry declares opens on its
// own, also those a drop takes only in a pair (MDM, MDX) or on a loaded model (skin, tags),
// and an archive opens in the PK3 browser.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <utility>

#include "app/command_end.h"
#include "app/main_window.h"
#include "app/pk3_dialog.h"
#include "assets/archive_loads.h"
#include "assets/pk3_tree.h"
#include "io/file_names.h"
#include "skeletal/skeletal_pair.h"
#include "skeletal/unposed_skeleton.h"

namespace {

// The animation every player of the game is posed with.
const char* const kBodyAnimationEntry = "animations/human/base/body.mdx";

QString UpperSuffixOf(const QString& file) {
    return QString::fromStdString(UpperCaseExtension(file.toStdString()));
}

QString NameOf(const QString& file) {
    return QFileInfo(file).fileName();
}

// The meshes of the game's PAKs, those named as the animation first (body.mdx: body.mdm).
std::vector<TPK3Selection> GameMeshesFor(const TPakList& paks, const QString& animFile) {
    const TPK3Tree tree = BuildPK3Tree(kPK3ModeMDM, PK3SourcesOf(paks));
    std::vector<TPK3Selection> meshes;
    for (std::size_t a = 0; a < tree.archives.size(); ++a) {
        for (std::size_t f = 0; f < tree.archives[a].folders.size(); ++f) {
            for (std::size_t i = 0; i < tree.archives[a].folders[f].files.size(); ++i) {
                if (auto mesh = SelectPK3File(tree, a, f, i)) meshes.push_back(std::move(*mesh));
            }
        }
    }
    const QString base = QFileInfo(animFile).completeBaseName().toLower();
    std::stable_partition(meshes.begin(), meshes.end(), [&base](const TPK3Selection& mesh) {
        return QFileInfo(QString::fromStdString(mesh.entryPath)).completeBaseName().toLower() ==
               base;
    });
    return meshes;
}

// A model of one frame and no surfaces, holding the tags of `tagFile`, framed around them.
bool ReadTagModel(TMD3& model, const QString& tagFile, QString& status) {
    std::memcpy(model.header.ident, kMD3Ident, 4);
    model.header.version = kMD3Version;
    SetNameField(QFileInfo(tagFile).completeBaseName().toStdString() + ".md3", model.header.name);
    model.header.frames.resize(1);
    model.header.numFrames = 1;
    if (!model.LoadTagsFromFile(tagFile.toStdString())) {
        status = "Tags not loaded: " + NameOf(tagFile) + " (" +
                 QString::fromStdString(model.LastError()) + ")";
        return false;
    }
    TMD3Frame& frame = model.header.frames[0];
    SetNameField("tags", frame.name);
    for (std::size_t t = 0; t < model.header.tags.size(); ++t) {
        const TVector3 o = model.header.tags[t].origin;
        const TVector3 low = t == 0 ? o : frame.minBounds;
        const TVector3 high = t == 0 ? o : frame.maxBounds;
        frame.minBounds = {std::min(low.x, o.x), std::min(low.y, o.y), std::min(low.z, o.z)};
        frame.maxBounds = {std::max(high.x, o.x), std::max(high.y, o.y), std::max(high.z, o.z)};
        frame.radius = std::max(frame.radius, VectorLength(o));
    }
    status = "Tags loaded: " + NameOf(tagFile) + " (" + QString::number(model.header.numTags) +
             " on a model of their own)";
    return true;
}

}  // namespace

void TMainWindow::OpenStartFiles(const QStringList& files) {
    const QString suffix = files.size() == 1 ? UpperSuffixOf(files.first()) : QString();
    const QString file = files.value(0);
    Guarded([&] {
        if (suffix == ".MDM") {
            OpenMeshAlone(file);
        } else if (suffix == ".MDX") {
            OpenAnimationAlone(file);
        } else if (suffix == ".TAG") {
            OpenTagFileAlone(file);
        } else if (suffix == ".SKIN" && document_.Empty()) {
            OpenSkinAlone(file);
        } else if (suffix == ".PK3") {
            OpenArchiveInBrowser(file);
        } else {
            HandleDroppedFiles(files);
        }
    });
}

void TMainWindow::OpenMeshAlone(const QString& meshFile) {
    busy_ = true;
    const TCommandEnd end([this] { EndCommand(nullptr); });
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TModelDocument model;
    QString status;
    if (!LoadMDMFile(model, meshFile, status)) {
        SetStatus(status);
        return;
    }
    QString animFile;
    QString pose = "in its bind pose: set the game path to pose it with the game's body animation";
    if (!assets_.Paks().Empty()) {
        const TEntryExtraction body =
            ExtractFromGamePaks(assets_.Paks(), kBodyAnimationEntry, assets_.TmpDir());
        ShowProblems(body.problems);
        std::string problem;
        if (!body.ok()) {
            problem = std::string("the game has no ") + kBodyAnimationEntry;
        } else if (!model.mdx.LoadFromFile(body.path)) {
            problem = std::string(kBodyAnimationEntry) + ": " + model.mdx.LastError();
        } else {
            problem = SkeletalPairProblem(model.mdm, model.mdx);
        }
        if (problem.empty()) {
            animFile = QString::fromStdString(body.path);
            pose = QString("posed by the game's ") + kBodyAnimationEntry;
        } else {
            pose = "in its bind pose: " + QString::fromStdString(problem);
        }
    }
    if (animFile.isEmpty()) {
        model.mdx = UnposedSkeletonFor(model.mdm);
        const std::string problem = SkeletalPairProblem(model.mdm, model.mdx);
        if (!problem.empty()) {
            SetStatus("MDM not loaded: " + NameOf(meshFile) + ": " +
                      QString::fromStdString(problem));
            return;
        }
    }
    status = "MDM loaded " + pose;
    if (!ReplaceModel(std::move(model), status)) {
        SetStatus(status);
        return;
    }
    if (!animFile.isEmpty()) ShowAnimationNames(animFile, status);
    AfterModelLoaded(meshFile, status, "Save as MDM/MDX");
}

void TMainWindow::OpenAnimationAlone(const QString& animFile) {
    busy_ = true;
    const TCommandEnd end([this] { EndCommand(nullptr); });
    SetStatus("");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString name = NameOf(animFile);
    TMDX anim;
    if (!anim.LoadFromFile(animFile.toStdString())) {
        SetStatus("MDX not loaded: " + name + ": " +
                  QString::fromStdString(anim.LastError().empty() ? "the file cannot be read"
                                                                  : anim.LastError()));
        return;
    }
    if (assets_.Paks().Empty()) {
        SetStatus("Not loaded: " + name +
                  ": an animation is shown on its mesh; set the game path to find the game's "
                  "mesh that fits it, or open the MDM and the MDX together");
        return;
    }
    for (const TPK3Selection& mesh : GameMeshesFor(assets_.Paks(), animFile)) {
        const TEntryExtraction extraction =
            ExtractFromArchive(mesh.sourcePak, mesh.entryPath, assets_.TmpDir());
        TModelDocument model;
        QString status;
        if (!extraction.ok() ||
            !LoadMDMFile(model, QString::fromStdString(extraction.path), status) ||
            !SkeletalPairProblem(model.mdm, anim).empty())
            continue;
        model.mdx = std::move(anim);
        status =
            "MDM/MDX loaded: " + name + " on the game's " + QString::fromStdString(mesh.entryPath);
        if (!ReplaceModel(std::move(model), status)) {
            SetStatus(status);
            return;
        }
        ShowAnimationNames(animFile, status);
        AfterModelLoaded(QString::fromStdString(extraction.path), status, "Save as MDM/MDX");
        return;
    }
    SetStatus("Not loaded: " + name + ": no mesh of the game fits its " +
              QString::number(anim.header.numBones) + " bones; open the MDM and the MDX together");
}

void TMainWindow::OpenTagFileAlone(const QString& tagFile) {
    presetFileName_ = tagFile;
    skipDialog_ = true;
    RunLoadFrame([] { return QString(); },
                 [](const QString& fileName, TModelDocument& model, QString& status) {
                     if (!ReadTagModel(model.md3, fileName, status)) return false;
                     model.source = kModelSourceFile;
                     model.kind = kModelKindMD3;
                     return true;
                 },
                 "Save as MD3");
    skipDialog_ = false;
}

void TMainWindow::OpenSkinAlone(const QString& skinFile) {
    // A skin is named after its model: "head_default.skin" dresses head.md3, and a model's
    // own name may hold underscores ("mortar_3rd_axis.skin": mortar_3rd.md3).
    const QFileInfo skin(skinFile);
    const QDir folder = skin.absoluteDir();
    QString base = skin.completeBaseName();
    QStringList lookedFor;
    for (int cut = base.lastIndexOf('_'); cut > 0; cut = base.lastIndexOf('_')) {
        base.truncate(cut);
        for (const char* suffix : {".md3", ".mdc", ".mdm", ".mds"}) {
            const QString model = folder.filePath(base + suffix);
            lookedFor << base + suffix;
            if (!QFileInfo::exists(model)) continue;
            const QString kind = UpperSuffixOf(model);
            if (kind == ".MDM") {
                OpenMeshAlone(model);
            } else if (kind == ".MDS") {
                LoadMDSFromFile(model);
            } else {
                LoadMD3FromFile(model);
            }
            if (!document_.Empty()) LoadSkinFromDrop(skinFile);
            return;
        }
    }
    SetStatus("Not loaded: " + skin.fileName() + ": a skin dresses the model its name names, " +
              (lookedFor.isEmpty() ? QString("and its name names none (MODEL_SKIN.skin)")
                                   : "and none lies beside it (" + lookedFor.join(", ") + ")"));
}

void TMainWindow::OpenArchiveInBrowser(const QString& archive) {
    // The browser's archive mode asks which archive to list; this one is already chosen.
    const auto pick = std::exchange(
        pk3Dialog_->pickArchive,
        [archive](const QString&, const QString&, const QString&) { return archive; });
    Guarded([this] { LoadMD3FromPK3Command(); });
    pk3Dialog_->pickArchive = pick;
}
