#include "cli/mds_files.h"

#include <cstring>
#include <filesystem>

#include "cli/cli_error.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/model_files.h"
#include "cli/model_source.h"
#include "cli/skeletal_description.h"
#include "io/binary_file.h"
#include "io/file_names.h"
#include "md3/md3.h"
#include "skeletal/mds_convert.h"

namespace {

TMDS LoadOrThrow(const std::string& path) {
    TMDS mds;
    const TModelSource source(path);
    if (!mds.LoadFromFile(source.File())) {
        throw CliError("Cannot load \"" + path + "\": " + mds.LastError());
    }
    return mds;
}

std::size_t TagBones(const TMDS& mds) {
    std::size_t flagged = 0;
    for (const TMDXBoneInfo& bone : mds.bones)
        flagged += bone.flags != 0 ? 1 : 0;
    return flagged;
}

void PrintText(const TMDS& mds, const std::string& path, std::ostream& out) {
    const TMDSHeader& h = mds.header;
    HeaderText("MDS", h, path, out);
    LodText(h, out);
    out << "\n"
        << "Frames:   " << mds.frames.size() << "\n"
        << "Bones:    " << mds.bones.size() << " (" << TagBones(mds) << " tag bones), torso parent "
        << h.torsoParent << "\n"
        << "Surfaces: " << mds.surfaces.size() << "\n";
    for (std::size_t i = 0; i < mds.surfaces.size(); ++i) {
        SurfaceText(i, mds.surfaces[i], out);
        out << ", minLod " << mds.surfaces[i].minLod << "\n";
    }
    out << "Tags:     " << mds.tags.size() << "\n";
    for (std::size_t t = 0; t < mds.tags.size(); ++t) {
        TagText(t, mds.tags[t], out);
        out << "\n";
    }
}

void PrintJson(const TMDS& mds, const std::string& path, std::ostream& out) {
    const TMDSHeader& h = mds.header;
    JsonWriter j(out);
    j.BeginObject();
    HeaderJson("mds", h, path, j);
    LodJson(h, j);
    j.Key("frames"), j.Int(static_cast<std::int64_t>(mds.frames.size()));
    j.Key("torsoParent"), j.Int(h.torsoParent);
    j.Key("bones"), j.Int(static_cast<std::int64_t>(mds.bones.size()));
    j.Key("boneList");
    j.BeginArray();
    for (const TMDXBoneInfo& bone : mds.bones) {
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(bone.name));
        j.Key("parent"), j.Int(bone.parent);
        j.Key("flags"), j.Int(bone.flags);
        j.EndObject();
    }
    j.EndArray();
    j.Key("surfaces"), j.Int(static_cast<std::int64_t>(mds.surfaces.size()));
    j.Key("surfaceList");
    j.BeginArray();
    for (const TMDSSurface& s : mds.surfaces) {
        j.BeginObject();
        SurfaceJson(s, j);
        j.EndObject();
    }
    j.EndArray();
    j.Key("tags"), j.Int(static_cast<std::int64_t>(mds.tags.size()));
    j.Key("tagList");
    j.BeginArray();
    for (const TMDSTag& tag : mds.tags) {
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(tag.name));
        j.Key("bone"), j.Int(tag.boneIndex);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

}  // namespace

bool IsMDSFile(const std::string& path) {
    const std::string ext = UpperCaseExtension(path);
    if (ext == ".MDS") return true;
    if (FormatFromExtension(path) != ModelFormat::Unknown ||
        !std::filesystem::is_regular_file(path))
        return false;
    char ident[4] = {};
    const BinaryFile file(path);
    return file.ReadAt(0, ident, sizeof ident) && std::memcmp(ident, kMDSIdent, 4) == 0;
}

void DescribeMDS(const std::string& path, bool json, std::ostream& out) {
    const TMDS mds = LoadOrThrow(path);
    json ? PrintJson(mds, path, out) : PrintText(mds, path, out);
}

void LoadMDSAsPairOrThrow(const std::string& path, TMDM& mesh, TMDX& anim, std::ostream& warnings) {
    const TMDSConversion conversion = ConvertMDS(LoadOrThrow(path), mesh, anim);
    for (const std::string& note : conversion.notes)
        warnings << "veldra-cli: warning: " << path << ": " << note << "\n";
}

int ConvertMDSFile(const std::string& input, const std::string& output, std::ostream& warnings) {
    if (FormatFromExtension(output) != ModelFormat::MDM) {
        throw UnsupportedOutput(output, "an MDS model converts to .mdm with its .mdx");
    }
    TMDM mesh;
    TMDX anim;
    LoadMDSAsPairOrThrow(input, mesh, anim, warnings);
    const std::string animPath = std::filesystem::path(output).replace_extension(".mdx").string();
    if (!mesh.SaveToFile(output)) {
        throw CliError("Cannot write \"" + output + "\": " + mesh.LastError());
    }
    if (!anim.SaveToFile(animPath)) {
        throw CliError("Cannot write \"" + animPath + "\": " + anim.LastError());
    }
    return 0;
}
