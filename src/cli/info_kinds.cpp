#include "cli/info_kinds.h"

#include "assets/skin.h"
#include "cli/cli_error.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "io/file_bytes.h"
#include "skeletal/anim_group.h"

namespace {

// Far above any script or skin a game ships.
constexpr std::int64_t kMaxTextFileBytes = 64 << 20;

std::string ReadText(const std::string& path, const std::string& file) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(file, kMaxTextFileBytes, bytes, error))
        throw CliError("Cannot load \"" + path + "\": " + error);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

void DescribeSkin(const std::string& path, bool json, std::ostream& out) {
    const TModelSource source(path);
    const TSkin skin = ParseSkin(ReadText(path, source.File()));
    // The game reads "md3_" lines as models to attach (the parser has dropped comments and
    // "tag_" lines already).
    std::vector<const TSkinRec*> surfaces, models;
    for (const TSkinRec& rec : skin)
        (rec.modelSlot ? models : surfaces).push_back(&rec);
    if (json) {
        JsonWriter j(out);
        j.BeginObject();
        j.Key("format"), j.String("skin");
        j.Key("file"), j.String(path);
        j.Key("surfaces"), j.Int(static_cast<std::int64_t>(surfaces.size()));
        j.Key("surfaceList");
        j.BeginArray();
        for (const TSkinRec* rec : surfaces) {
            j.BeginObject();
            j.Key("name"), j.String(rec->surfaceName);
            j.Key("shader"), j.String(rec->path);
            j.EndObject();
        }
        j.EndArray();
        j.Key("models"), j.Int(static_cast<std::int64_t>(models.size()));
        j.Key("modelList");
        j.BeginArray();
        for (const TSkinRec* rec : models) {
            j.BeginObject();
            j.Key("slot"), j.String(rec->surfaceName);
            j.Key("model"), j.String(rec->path);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
        return;
    }
    out << "File:     " << path << "\n"
        << "Format:   skin\n"
        << "Surfaces: " << surfaces.size() << "\n";
    for (std::size_t i = 0; i < surfaces.size(); ++i)
        out << "  [" << i << "] " << Quoted(surfaces[i]->surfaceName) << " shader "
            << Quoted(surfaces[i]->path) << "\n";
    out << "Models:   " << models.size() << "\n";
    for (std::size_t i = 0; i < models.size(); ++i)
        out << "  [" << i << "] " << Quoted(models[i]->surfaceName) << " model "
            << Quoted(models[i]->path) << "\n";
}

void DescribeAnimGroup(const std::string& path, bool json, std::ostream& out) {
    const TModelSource source(path);
    const TAnimGroupParse group = LoadAnimGroup(source.File());
    if (!group.ok) throw CliError("Cannot load \"" + path + "\": " + group.error);
    if (json) {
        JsonWriter j(out);
        j.BeginObject();
        j.Key("format"), j.String("anim");
        j.Key("file"), j.String(path);
        j.Key("animationFiles"), j.Int(static_cast<std::int64_t>(group.files.size()));
        j.Key("animationFileList");
        j.BeginArray();
        for (const TAnimGroupFile& file : group.files) {
            j.BeginObject();
            j.Key("mdx"), j.String(file.mdx);
            j.Key("animations"), j.Int(static_cast<std::int64_t>(file.animations.frames.size()));
            j.Key("animationList");
            j.BeginArray();
            for (const TANINCFrame& a : file.animations.frames) {
                j.BeginObject();
                j.Key("name"), j.String(a.name);
                j.Key("firstFrame"), j.Int(a.firstFrame);
                j.Key("numFrames"), j.Int(a.numFrames);
                j.EndObject();
            }
            j.EndArray();
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
        return;
    }
    out << "File:     " << path << "\n"
        << "Format:   animation group (.anim)\n"
        << "Files:    " << group.files.size() << "\n";
    for (std::size_t i = 0; i < group.files.size(); ++i) {
        const TAnimGroupFile& file = group.files[i];
        out << "  [" << i << "] " << Quoted(file.mdx) << ", " << file.animations.frames.size()
            << " animations\n";
        for (const TANINCFrame& a : file.animations.frames)
            out << "      " << Quoted(a.name) << " first frame " << a.firstFrame << ", "
                << a.numFrames << " frames\n";
    }
}
