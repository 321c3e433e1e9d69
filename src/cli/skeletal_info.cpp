#include "cli/skeletal_info.h"

#include <cerrno>

#include "cli/cli_error.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "cli/skeletal_description.h"
#include "cli/skeletal_files.h"
#include "io/file_error.h"
#include "md3/md3.h"
#include "skeletal/aninc.h"

namespace {

std::size_t WeightCount(const TMDMSurface& s) {
    std::size_t weights = 0;
    for (const TMDMVertex& v : s.vertices)
        weights += v.weights.size();
    return weights;
}

std::string ReferencesText(const std::vector<TMDMSurfaceBoneRefs>& references) {
    std::string text;
    for (TMDMSurfaceBoneRefs bone : references)
        text += ' ' + std::to_string(bone);
    return text;
}

void ReferencesJson(const std::vector<TMDMSurfaceBoneRefs>& references, JsonWriter& j) {
    j.Key("boneReferences");
    j.BeginArray();
    for (TMDMSurfaceBoneRefs bone : references)
        j.Int(bone);
    j.EndArray();
}

void PrintMDMText(const TMDM& mesh, const std::string& path, std::ostream& out) {
    const TMDMHeader& h = mesh.header;
    HeaderText("MDM", h, path, out);
    LodText(h, out);
    out << ", collapse maps " << (mesh.HasLodData() ? "present" : "absent") << "\n"
        << "Surfaces: " << mesh.surfaces.size() << "\n";
    for (std::size_t i = 0; i < mesh.surfaces.size(); ++i) {
        const TMDMSurface& s = mesh.surfaces[i];
        SurfaceText(i, s, out);
        out << ", " << WeightCount(s) << " weights, minLod " << s.minLod << ", bones"
            << ReferencesText(s.boneReferences) << "\n";
    }
    out << "Tags:     " << mesh.tags.size() << "\n";
    for (std::size_t t = 0; t < mesh.tags.size(); ++t) {
        const TMDMTag& tag = mesh.tags[t];
        TagText(t, tag, out);
        out << " offset " << VectorText(tag.offset) << " axes " << VectorText(tag.axis[0]) << ' '
            << VectorText(tag.axis[1]) << ' ' << VectorText(tag.axis[2]) << ", bones"
            << ReferencesText(tag.boneReferences) << "\n";
    }
}

void PrintMDMJson(const TMDM& mesh, const std::string& path, std::ostream& out) {
    const TMDMHeader& h = mesh.header;
    JsonWriter j(out);
    j.BeginObject();
    HeaderJson("mdm", h, path, j);
    LodJson(h, j);
    j.Key("lodData"), j.Bool(mesh.HasLodData());
    j.Key("surfaces"), j.Int(static_cast<std::int64_t>(mesh.surfaces.size()));
    j.Key("surfaceList");
    j.BeginArray();
    for (const TMDMSurface& s : mesh.surfaces) {
        j.BeginObject();
        SurfaceJson(s, j);
        j.Key("weights"), j.Int(static_cast<std::int64_t>(WeightCount(s)));
        ReferencesJson(s.boneReferences, j);
        j.EndObject();
    }
    j.EndArray();
    j.Key("tags"), j.Int(static_cast<std::int64_t>(mesh.tags.size()));
    j.Key("tagNames");
    j.BeginArray();
    for (const TMDMTag& tag : mesh.tags)
        j.String(NameFieldText(tag.name));
    j.EndArray();
    j.Key("tagList");
    j.BeginArray();
    for (const TMDMTag& tag : mesh.tags) {
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(tag.name));
        j.Key("bone"), j.Int(tag.boneIndex);
        j.Key("offset"), j.Vector(tag.offset);
        j.Key("axis");
        j.BeginArray();
        for (const TVector3& axis : tag.axis)
            j.Vector(axis);
        j.EndArray();
        ReferencesJson(tag.boneReferences, j);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

std::string ParentName(const TMDX& anim, std::int32_t parent) {
    if (parent < 0 || static_cast<std::size_t>(parent) >= anim.bones.size()) return "";
    return NameFieldText(anim.bones[static_cast<std::size_t>(parent)].name);
}

void PrintMDXText(const TMDX& anim, const std::string& path, std::ostream& out) {
    const TMDXHeader& h = anim.header;
    HeaderText("MDX", h, path, out);
    out << "Frames:   " << anim.frames.size() << "\n"
        << "Torso:    parent bone " << h.torsoParent << "\n"
        << "Bones:    " << anim.bones.size() << "\n";
    for (std::size_t b = 0; b < anim.bones.size(); ++b) {
        const TMDXBoneInfo& bone = anim.bones[b];
        out << "  [" << b << "] " << Quoted(NameFieldText(bone.name)) << " parent " << bone.parent;
        if (bone.parent >= 0) out << ' ' << Quoted(ParentName(anim, bone.parent));
        out << ", distance " << NumberText(bone.parentDist) << ", torso weight "
            << NumberText(bone.torsoWeight) << ", flags " << bone.flags << "\n";
    }
}

void PrintMDXJson(const TMDX& anim, const std::string& path, std::ostream& out) {
    const TMDXHeader& h = anim.header;
    JsonWriter j(out);
    j.BeginObject();
    HeaderJson("mdx", h, path, j);
    j.Key("frames"), j.Int(static_cast<std::int64_t>(anim.frames.size()));
    j.Key("torsoParent"), j.Int(h.torsoParent);
    j.Key("bones"), j.Int(static_cast<std::int64_t>(anim.bones.size()));
    j.Key("boneList");
    j.BeginArray();
    for (const TMDXBoneInfo& bone : anim.bones) {
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(bone.name));
        j.Key("parent"), j.Int(bone.parent);
        j.Key("parentName"), j.String(ParentName(anim, bone.parent));
        j.Key("parentDist"), j.Float(bone.parentDist);
        j.Key("torsoWeight"), j.Float(bone.torsoWeight);
        j.Key("flags"), j.Int(bone.flags);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

void PrintANINCText(const TANINC& list, const std::string& path, std::ostream& out) {
    out << "File:       " << path << "\n"
        << "Format:     animation list (.aninc)\n"
        << "Animations: " << list.frames.size() << "\n";
    for (std::size_t i = 0; i < list.frames.size(); ++i) {
        const TANINCFrame& a = list.frames[i];
        out << "  [" << i << "] " << Quoted(a.name) << " first frame " << a.firstFrame << ", "
            << a.numFrames << " frames at " << a.framesPerSecond << " fps, looping " << a.looping
            << ", move speed " << a.moveSpeed << ", transition " << a.transition << ", reversed "
            << a.reversed << "\n";
    }
}

void PrintANINCJson(const TANINC& list, const std::string& path, std::ostream& out) {
    JsonWriter j(out);
    j.BeginObject();
    j.Key("format"), j.String("aninc");
    j.Key("file"), j.String(path);
    j.Key("animations"), j.Int(static_cast<std::int64_t>(list.frames.size()));
    j.Key("animationList");
    j.BeginArray();
    for (const TANINCFrame& a : list.frames) {
        j.BeginObject();
        j.Key("name"), j.String(a.name);
        j.Key("firstFrame"), j.Int(a.firstFrame);
        j.Key("numFrames"), j.Int(a.numFrames);
        j.Key("looping"), j.Int(a.looping);
        j.Key("framesPerSecond"), j.Int(a.framesPerSecond);
        j.Key("moveSpeed"), j.Int(a.moveSpeed);
        j.Key("transition"), j.Int(a.transition);
        j.Key("reversed"), j.Int(a.reversed);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

}  // namespace

void DescribeMDM(const std::string& path, bool json, std::ostream& out, std::ostream& warnings) {
    TMDM mesh;
    LoadMDMOrThrow(mesh, path, warnings);
    json ? PrintMDMJson(mesh, path, out) : PrintMDMText(mesh, path, out);
}

void DescribeMDX(const std::string& path, bool json, std::ostream& out) {
    TMDX anim;
    LoadMDXOrThrow(anim, path);
    json ? PrintMDXJson(anim, path, out) : PrintMDXText(anim, path, out);
}

void DescribeANINC(const std::string& path, bool json, std::ostream& out) {
    TANINC list;
    const TModelSource source(path);
    if (!list.LoadFromFile(source.File())) {
        // The loader only says false for a missing file; say it the way every other open does.
        if (list.LastError().empty()) throw FileError::CannotOpen(path, ENOENT);
        throw CliError("Cannot load " + list.LastError());
    }
    json ? PrintANINCJson(list, path, out) : PrintANINCText(list, path, out);
}
