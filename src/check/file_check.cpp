#include "check/file_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>
#include <optional>

#include "assets/skin.h"
#include "check/level_of_detail_check.h"
#include "check/model_check.h"
#include "check/shader_script_check.h"
#include "io/file_bytes.h"
#include "io/file_error.h"
#include "io/path_case.h"
#include "io/user_prompts.h"
#include "md3/md3.h"
#include "md3/md3_tag_file.h"
#include "skeletal/aninc.h"
#include "skeletal/mdm.h"
#include "skeletal/mds.h"
#include "skeletal/mdx.h"

namespace fs = std::filesystem;

namespace {

TCharacterChecker characterChecker = nullptr;

// Far above any shader script a game ships.
constexpr std::int64_t kMaxShaderScriptBytes = 64 << 20;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ExtensionOf(const std::string& path) {
    return Lower(fs::path(path).extension().string());
}

std::string StemOf(const std::string& path) {
    return Lower(fs::path(path).stem().string());
}

// The game loads a compressed model wherever it loads an MD3, into the same kind of model.
bool IsMD3Family(const std::string& ext) {
    return ext == ".md3" || ext == ".mdc";
}

bool IsSkinTarget(const std::string& ext) {
    return IsMD3Family(ext) || ext == ".mdm" || ext == ".mds";
}

// The surface names of a model file; nothing when it cannot be read.
std::optional<std::vector<std::string>> ModelSurfaces(const std::string& path) {
    const std::string ext = ExtensionOf(path);
    try {
        if (IsMD3Family(ext)) {
            TMD3 model;
            if (model.LoadLayoutFromFile(path)) return SurfaceNames(model);
        } else if (ext == ".mdm") {
            TMDM model;
            AnswerYesPrompts prompts;
            if (model.LoadFromFile(path, prompts)) return SurfaceNames(model);
        } else if (ext == ".mds") {
            TMDS model;
            if (model.LoadFromFile(path)) return SurfaceNames(model);
        }
    } catch (const FileError&) {
    }
    return std::nullopt;
}

// The model a skin belongs to by the game's naming rule: the model's path without extension,
// '_' and the skin's name ("mortar_3rd.md3" for "mortar_3rd_axis.skin"). When several
// models fit, the longest name wins.
std::optional<std::string> ModelBesideSkin(const std::string& skinPath) {
    const std::string skinStem = StemOf(skinPath);
    std::optional<std::string> best;
    std::size_t bestLength = 0;
    std::error_code ec;
    const fs::path folder = fs::path(skinPath).parent_path();
    for (const fs::directory_entry& entry :
         fs::directory_iterator(folder.empty() ? fs::path(".") : folder, ec)) {
        const std::string path = entry.path().string();
        if (!IsSkinTarget(ExtensionOf(path))) continue;
        const std::string stem = StemOf(path);
        const bool matches = skinStem.size() > stem.size() + 1 &&
                             skinStem.compare(0, stem.size(), stem) == 0 &&
                             skinStem[stem.size()] == '_';
        if (matches && stem.size() >= bestLength) {
            best = path;
            bestLength = stem.size();
        }
    }
    return best;
}

std::optional<std::string> Beside(const std::string& path, const std::string& extension) {
    return FindFileIgnoringCase(fs::path(path).replace_extension(extension).string());
}

bool InSet(const std::vector<std::string>& set, const std::string& path) {
    std::error_code ec;
    for (const std::string& other : set)
        if (fs::equivalent(other, path, ec)) return true;
    return false;
}

TCheckFindings AnincFindings(const std::string& anincPath, const std::string& mdxPath,
                             std::string& error) {
    TANINC list;
    if (!list.LoadFromFile(anincPath)) {
        error = list.LastError().empty() ? "Cannot read \"" + anincPath + "\"" : list.LastError();
        return {};
    }
    TMDX mdx;
    if (!mdx.LoadFromFile(mdxPath)) return {};  // the .mdx's own check reports it
    return CheckAnincRanges(list, static_cast<std::int64_t>(mdx.header.numFrames));
}

void CheckOne(TFileCheck& check, const std::vector<std::string>& set, const TEngineLimits& limits,
              const TCheckSources& sources) {
    const std::string& path = check.file;
    const std::string ext = ExtensionOf(path);
    if (IsMD3Family(ext)) {
        TMD3 model;
        if (!model.LoadLayoutFromFile(path)) {
            check.error = model.LastError();
            return;
        }
        check.findings = CheckMD3(model, limits);
        AppendFindings(check.findings, CheckModelLevelsBeside(path, model), "");
    } else if (ext == ".mdm") {
        TMDM model;
        AnswerYesPrompts prompts;
        if (!model.LoadFromFile(path, prompts))
            check.error = model.LastError();
        else
            check.findings = CheckMDM(model, limits);
    } else if (ext == ".mds") {
        TMDS model;
        if (!model.LoadFromFile(path))
            check.error = model.LastError();
        else
            check.findings = CheckMDS(model, limits);
    } else if (ext == ".mdx") {
        TMDX model;
        if (!model.LoadFromFile(path)) {
            check.error = model.LastError();
            return;
        }
        check.findings = CheckMDX(model, limits);
        const std::optional<std::string> aninc = Beside(path, ".aninc");
        if (aninc && !InSet(set, *aninc)) {
            std::string ignored;
            AppendFindings(check.findings, AnincFindings(*aninc, path, ignored),
                           fs::path(*aninc).filename().string());
        }
    } else if (ext == ".tag") {
        std::vector<TMD3Tag> tags;
        if (!ReadTagFile(path, tags, check.error)) return;
        check.findings = CheckTags(tags, limits);
    } else if (ext == ".aninc") {
        if (!fs::exists(path)) throw FileError("Cannot open file \"" + path + "\".");
        const std::optional<std::string> mdx = Beside(path, ".mdx");
        if (mdx) {
            check.findings = AnincFindings(path, *mdx, check.error);
        } else {
            TANINC list;
            if (!list.LoadFromFile(path)) check.error = list.LastError();
        }
    } else if (ext == ".skin") {
        TSkin skin;
        if (!LoadSkin(path, skin)) throw FileError("Cannot open file \"" + path + "\".");
        check.findings = CheckSkinLines(skin, limits);
        if (const std::optional<std::string> model = ModelBesideSkin(path)) {
            if (std::optional<std::vector<std::string>> names = ModelSurfaces(*model))
                AppendFindings(check.findings, CheckSkinSurfaces(skin, *names),
                               fs::path(*model).filename().string() + ":");
        }
    } else if (ext == ".shader") {
        std::vector<std::uint8_t> bytes;
        if (!ReadFileBytes(path, kMaxShaderScriptBytes, bytes, check.error)) return;
        check.findings = CheckShaderScript(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), limits);
    } else if (ext == ".char") {
        if (characterChecker == nullptr)
            check.error = "character definitions are checked by the archive reader";
        else
            characterChecker(path, sources, limits, check.findings, check.error);
    } else {
        check.error = "\"" + path +
                      "\" is not a model, tag, skin, animation list, shader script or character";
    }
}

}  // namespace

void InstallCharacterCheck(TCharacterChecker checker) {
    characterChecker = checker;
}

bool IsCheckableFile(const std::string& path) {
    static const char* const kExtensions[] = {".md3", ".mdc",   ".mdm",  ".mdx",   ".mds",
                                              ".tag", ".aninc", ".skin", ".shader"};
    const std::string ext = ExtensionOf(path);
    return std::any_of(std::begin(kExtensions), std::end(kExtensions),
                       [&](const char* e) { return ext == e; });
}

std::vector<TFileCheck> CheckFiles(const std::vector<std::string>& paths,
                                   const TEngineLimits& limits, const TCheckSources& sources) {
    std::vector<TFileCheck> checks;
    for (const std::string& path : paths) {
        TFileCheck check;
        check.file = path;
        try {
            CheckOne(check, paths, limits, sources);
        } catch (const std::bad_alloc&) {
            check.error = "Cannot check \"" + path + "\": out of memory";
        } catch (const std::exception& e) {
            check.error = e.what();
        }
        if (!check.error.empty()) check.findings.clear();
        checks.push_back(std::move(check));
    }
    return checks;
}
