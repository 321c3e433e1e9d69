#include "check/character_check.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "assets/archive_names.h"
#include "assets/character_files.h"
#include "assets/character_sources.h"
#include "assets/skin.h"
#include "check/model_check.h"
#include "io/file_error.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "skeletal/skeletal_pair.h"

namespace {

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// A finding without a count: something missing or not fitting.
void Note(TCheckFindings& out, std::string what, std::string where = "") {
    TCheckFinding f;
    f.what = std::move(what);
    f.where = std::move(where);
    f.counted = false;
    out.push_back(std::move(f));
}

bool HasTag(const std::vector<std::string>& tags, const std::string& name) {
    for (const std::string& tag : tags)
        if (EqualIgnoringCase(tag, name)) return true;
    return false;
}

}  // namespace

bool CheckCharacter(const std::string& charFile, const TCheckSources& sources,
                    const TEngineLimits& limits, TCheckFindings& findings, std::string& error) {
    if (!std::filesystem::exists(charFile)) throw FileError::CannotOpen(charFile, ENOENT);
    const TCharacterSources where(sources.gameDir, sources.archive);
    for (const std::string& problem : where.Problems())
        Note(findings, problem);
    const TCharacterFiles files = FindCharacterFiles(charFile, where.Game());
    if (files.def.mesh.empty()) {
        error = files.missing.empty() ? "Cannot read \"" + charFile + "\"" : files.missing.front();
        return false;
    }
    for (const std::string& missing : files.missing)
        Note(findings, missing);

    TMDM mesh;
    bool meshRead = false;
    std::vector<std::string> bodyTags;
    if (!files.mesh.empty()) {
        AnswerYesPrompts yes;
        meshRead = mesh.LoadFromFile(files.mesh, yes);
        if (!meshRead) Note(findings, "mesh not readable: " + mesh.LastError(), "mesh");
    }
    if (meshRead) {
        AppendFindings(findings, CheckMDM(mesh, limits), "mesh");
        for (const TMDMTag& tag : mesh.tags)
            bodyTags.push_back(NameFieldText(tag.name));
        TSkin skin;
        if (!files.skin.empty() && LoadSkin(files.skin, skin))
            AppendFindings(findings, CheckSkinSurfaces(skin, SurfaceNames(mesh)),
                   FileName(files.skin) + ":");
    }

    for (std::size_t i = 0; i < files.animationFiles.size(); ++i) {
        const TAnimGroupFile& group = files.animationFiles[i];
        const std::string path =
            i == 0 ? files.mdx : FindCharacterAnimationFile(files, i, where.Game());
        if (path.empty()) {
            if (i > 0) Note(findings, "animation \"" + group.mdx + "\" not found");
            continue;
        }
        TMDX anim;
        if (!anim.LoadFromFile(path)) {
            Note(findings, "animation not readable: " + anim.LastError(), group.mdx);
            continue;
        }
        AppendFindings(findings, CheckMDX(anim, limits), group.mdx);
        AppendFindings(findings, CheckAnincRanges(group.animations, anim.header.numFrames), group.mdx);
        if (meshRead) {
            const std::string problem = SkeletalPairProblem(mesh, anim);
            if (!problem.empty()) Note(findings, problem, group.mdx);
        }
    }

    // The head and accessories: each model's own limits, and the tag it hangs on, without
    // which the game draws it nowhere.
    std::vector<std::string> headTags;
    bool headRead = false;
    for (const TCharacterAttachment& a : files.attachments) {
        TMD3 model;
        if (!model.LoadFromFile(a.model)) {
            Note(findings, "model not readable: " + model.LastError(), a.gamePath);
            continue;
        }
        AppendFindings(findings, CheckMD3(model, limits), a.gamePath);
        if (a.slot == kHeadSlot) {
            headRead = true;
            // Tags are stored frame after frame; the first frame's name them all.
            const std::size_t tags = std::min(model.header.tags.size(),
                                              static_cast<std::size_t>(model.header.numTags));
            for (std::size_t t = 0; t < tags; ++t)
                headTags.push_back(NameFieldText(model.header.tags[t].name));
        }
        // Without the head or the mesh, what they lack is already reported.
        const bool tagFound = a.onHead ? !headRead || HasTag(headTags, a.tag)
                                       : !meshRead || HasTag(bodyTags, a.tag);
        if (!tagFound)
            Note(findings,
                 std::string(a.onHead ? "the head" : "the mesh") + " has no \"" + a.tag +
                     "\" to hang it on",
                 a.gamePath);
    }
    return true;
}
