#include "cli/archives/gltf_export_command.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "assets/archive_entry_ref.h"
#include "assets/character_files.h"
#include "assets/character_sources.h"
#include "assets/game_path.h"
#include "assets/skin.h"
#include "cli/cli_error.h"
#include "cli/frames_option.h"
#include "cli/model_files.h"
#include "cli/model_source.h"
#include "cli/skeletal_files.h"
#include "import/gltf_materials.h"
#include "io/file_names.h"
#include "io/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

void Warn(std::ostream& warnings, const std::string& text) {
    warnings << "veldra-cli: warning: " << text << '\n';
}

// The surfaces' materials: resolved in the game data when there is a game, else only named
// after their shaders (as a skin renames them).
class TMaterialSource {
  public:
    TMaterialSource(const TConvertOptions& options, const std::string& input,
                    std::ostream& warnings)
        : warnings_(warnings) {
        if (!NamesArchiveEntry(input)) {
            std::error_code ec;
            const std::string folder =
                fs::absolute(fs::path(input), ec).parent_path().string() + "/";
            origin_ = {true, folder, folder};
        }
        if (options.gameDir.empty()) return;
        if (!IsValidGamePath(WithTrailingSeparator(options.gameDir)))
            throw CliError("Cannot convert \"" + input + "\": \"" + options.gameDir +
                           "\" is not a game folder (no etmain with pak0.pk3 or scripts in it)");
        scratch_ = std::make_unique<TScratchFolder>("veldra-cli-gltf-");
        assets_ = std::make_unique<TGameAssets>(scratch_->Path() + "/");
        for (const std::string& problem : assets_->UseGameFolder(options.gameDir))
            Warn(warnings_, problem);
    }

    // `skinFile` empty: the surfaces' own shaders.
    std::vector<TGltfMaterial> Materials(const std::vector<TSurfaceShaderRef>& surfaces,
                                         const std::string& skinFile) {
        TSkin skin;
        if (!skinFile.empty() && !LoadSkin(skinFile, skin))
            throw CliError("Cannot read skin \"" + skinFile + "\": the file does not exist");
        if (!assets_) {
            std::vector<TGltfMaterial> named;
            for (const TSurfaceShaderRef& surface : surfaces) {
                const TSkinRec* rec = FindSkinRec(skin, surface.surfaceName, surface.skinNaming);
                TGltfMaterial material;
                material.name = rec != nullptr ? rec->path : surface.shaderName;
                named.push_back(std::move(material));
            }
            return named;
        }
        assets_->Skin() = std::move(skin);
        std::vector<std::string> problems;
        std::vector<TGltfMaterial> materials =
            ResolveGltfMaterials(surfaces, *assets_, origin_, problems);
        for (const std::string& problem : problems)
            Warn(warnings_, problem);
        for (std::size_t i = 0; i < materials.size(); ++i) {
            if (materials[i].image.empty() && !materials[i].name.empty())
                Warn(warnings_, "no picture found for surface \"" + surfaces[i].surfaceName +
                                    "\" (\"" + materials[i].name + "\")");
        }
        return materials;
    }

  private:
    std::ostream& warnings_;
    TModelOrigin origin_;
    std::unique_ptr<TScratchFolder> scratch_;
    std::unique_ptr<TGameAssets> assets_;
};

std::vector<TSurfaceShaderRef> SurfacesOf(const TMD3& model) {
    std::vector<TSurfaceShaderRef> refs;
    for (const TSurface& s : model.header.surfaces)
        refs.push_back({NameFieldText(s.name),
                        s.shaders.empty() ? std::string() : NameFieldText(s.shaders[0].name),
                        TSkinNaming::VertexModel});
    return refs;
}

std::vector<TSurfaceShaderRef> SurfacesOf(const TMDM& mesh) {
    std::vector<TSurfaceShaderRef> refs;
    for (const TMDMSurface& s : mesh.surfaces)
        refs.push_back({NameFieldText(s.name), NameFieldText(s.shader), TSkinNaming::Skeletal});
    return refs;
}

// "A-B" or "A" within `frames`.
std::pair<std::uint32_t, std::uint32_t> FrameRangeOf(const std::string& text, std::size_t frames,
                                                     const std::string& file) {
    const TFramesOption range = ParseFramesOption(text);
    if (range.last >= frames)
        throw CliError("Cannot convert \"" + file + "\": --frames " + text + " is not within its " +
                       std::to_string(frames) + " frames");
    return {range.first, range.last};
}

double RateOf(const TConvertOptions& options, double listed) {
    if (options.fps != 0.0) return options.fps;
    return listed > 0.0 ? listed : kGltfDefaultFps;
}

// --frames as one animation, else every entry of the list, else every frame.
std::vector<TGltfClip> ClipsOf(const TMDX& anim, const std::string& animPath, const TANINC& list,
                               const TConvertOptions& options, std::ostream& warnings) {
    if (!options.frames.empty()) {
        const auto [first, last] = FrameRangeOf(options.frames, anim.frames.size(), animPath);
        return {{"frames " + options.frames, first, last - first + 1, RateOf(options, 0.0)}};
    }
    std::vector<TGltfClip> clips;
    for (const TANINCFrame& entry : list.frames) {
        if (entry.firstFrame < 0 || entry.numFrames <= 0 ||
            std::int64_t{entry.firstFrame} + entry.numFrames > std::int64_t(anim.frames.size())) {
            Warn(warnings, "\"" + animPath + "\": animation \"" + entry.name +
                               "\" lies outside its frames and is left out");
            continue;
        }
        clips.push_back({entry.name, static_cast<std::uint32_t>(entry.firstFrame),
                         static_cast<std::uint32_t>(entry.numFrames),
                         RateOf(options, entry.framesPerSecond)});
    }
    if (clips.empty() && !anim.frames.empty()) {
        clips.push_back({fs::path(animPath).stem().string(), 0,
                         static_cast<std::uint32_t>(anim.frames.size()), RateOf(options, 0.0)});
    }
    return clips;
}

void ExportMD3(TGltfExport& doc, const std::string& input, const TConvertOptions& options,
               const std::string& skinFile, TMaterialSource& materials) {
    TMD3 model;
    LoadMD3OrThrow(model, input);
    const auto frames = static_cast<std::size_t>(std::max(0, model.header.numFrames));
    if (frames == 0) throw CliError("Cannot convert \"" + input + "\": it has no frames");
    const auto [first, last] = options.frames.empty()
                                   ? std::pair<std::uint32_t, std::uint32_t>{0, frames - 1}
                                   : FrameRangeOf(options.frames, frames, input);
    const std::string name =
        options.frames.empty() ? fs::path(input).stem().string() : "frames " + options.frames;
    doc.AddMD3(model, first, last, RateOf(options, 0.0),
               materials.Materials(SurfacesOf(model), skinFile), name);
}

// The player part of a player or character; the body's tag nodes by name.
std::map<std::string, int> ExportPlayer(TGltfExport& doc, const std::string& meshPath,
                                        const std::string& animPath, const TANINC& list,
                                        const std::string& skin, const TConvertOptions& options,
                                        TMaterialSource& materials, std::ostream& warnings) {
    TMDM mesh;
    TMDX anim;
    LoadPosablePair(mesh, meshPath, anim, animPath, warnings);
    const std::vector<TGltfClip> clips = ClipsOf(anim, animPath, list, options, warnings);
    if (!doc.AddPlayer(mesh, anim, clips, materials.Materials(SurfacesOf(mesh), skin)))
        throw CliError("Cannot convert \"" + meshPath + "\": \"" + animPath + "\" has no frames");
    std::map<std::string, int> tags;
    for (const TMDMTag& tag : mesh.tags)
        tags.emplace(NameFieldText(tag.name), doc.TagNode(NameFieldText(tag.name)));
    return tags;
}

void ExportCharacter(TGltfExport& doc, const std::string& argument, const TConvertOptions& options,
                     const std::string& skinFile, TMaterialSource& materials,
                     std::ostream& warnings) {
    const std::optional<TArchiveEntryRef> inArchive = SplitArchiveEntryRef(argument);
    std::unique_ptr<TModelSource> source;
    if (inArchive) source = std::make_unique<TModelSource>(argument);
    TCharacterSources sources(options.gameDir, inArchive ? inArchive->archive : "");
    const TCharacterFiles files =
        FindCharacterFiles(source ? source->File() : argument, sources.Game());
    if (!files.Loadable())
        throw CliError("Cannot convert \"" + argument + "\": " + MissingCharacterText(files));
    for (const std::string& missing : files.missing)
        Warn(warnings, missing);
    const std::string skin = skinFile.empty() ? files.skin : skinFile;
    const std::map<std::string, int> bodyTags = ExportPlayer(
        doc, files.mesh, files.mdx, files.animations, skin, options, materials, warnings);
    for (const TCharacterAttachment& attachment : files.attachments) {
        const auto bodyTag = bodyTags.find(attachment.tag);
        const int tagNode = attachment.onHead           ? doc.TagNode(attachment.tag)
                            : bodyTag != bodyTags.end() ? bodyTag->second
                                                        : -1;
        if (tagNode < 0) {
            Warn(warnings, "\"" + attachment.gamePath + "\" is left out: no \"" + attachment.tag +
                               "\" to hang it on");
            continue;
        }
        TMD3 model;
        LoadMD3OrThrow(model, attachment.model);
        doc.AttachMD3(model, tagNode, materials.Materials(SurfacesOf(model), attachment.skin),
                      attachment.slot);
    }
}

}  // namespace

int RunGltfExport(const std::string& input, const std::string& output,
                  const TConvertOptions& options, std::ostream& warnings) {
    if (options.fps != 0.0 && !(options.fps > 0.0 && std::isfinite(options.fps)))
        throw UsageError("Cannot convert \"" + input + "\": --fps must be above 0");
    const bool character = UpperCaseExtension(input) == ".CHAR";
    const ModelFormat format = character ? ModelFormat::Unknown : DetectInputFormat(input);
    if (!options.mdx.empty() && format != ModelFormat::MDM)
        throw UsageError("Cannot convert \"" + input + "\": --mdx applies to MDM meshes only");
    if (format == ModelFormat::MDM && options.mdx.empty())
        throw UsageError("Cannot convert \"" + input +
                         "\": a player mesh needs its animation (--mdx ANIM.mdx)");
    if (!character && format != ModelFormat::MD3 && format != ModelFormat::MDM)
        throw UsageError("Cannot convert \"" + input +
                         "\": glTF takes MD3 and MDC models, players (.mdm with --mdx) and "
                         "characters (.char)");
    // A skin may be named inside an archive, as models are; its copy lives as long as this.
    std::optional<TModelSource> skinSource;
    if (!options.skin.empty()) skinSource.emplace(options.skin);
    const std::string skinFile = skinSource ? skinSource->File() : std::string();
    TMaterialSource materials(options, input, warnings);
    TGltfExport doc;
    if (character) {
        ExportCharacter(doc, input, options, skinFile, materials, warnings);
    } else if (format == ModelFormat::MD3) {
        ExportMD3(doc, input, options, skinFile, materials);
    } else {
        // The animation list beside the MDX names the animations.
        const TModelSource anim(options.mdx);
        TANINC list;
        list.LoadFromFile(AnincPathFor(anim.File()));
        ExportPlayer(doc, input, options.mdx, list, skinFile, options, materials, warnings);
    }
    for (const std::string& note : doc.Notes())
        Warn(warnings, "\"" + output + "\": " + note);
    std::string error;
    if (!doc.Save(output, error)) throw CliError("Cannot write \"" + output + "\": " + error);
    return 0;
}

void InstallGltfExport() {
    InstallGltfExporter(&RunGltfExport);
}
