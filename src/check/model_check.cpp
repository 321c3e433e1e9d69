#include "check/model_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "assets/skin.h"
#include "md3/md3.h"
#include "skeletal/aninc.h"
#include "skeletal/mdm.h"
#include "skeletal/mds.h"
#include "skeletal/mdx.h"

namespace {

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The game copies names into MAX_QPATH buffers; a field without its zero loses characters.
template <std::size_t N>
std::int64_t NameLength(const char (&field)[N]) {
    return static_cast<std::int64_t>(strnlen(field, N));
}

std::string Where(const char* kind, std::size_t index, const std::string& name) {
    return std::string(kind) + " " + std::to_string(index) + " \"" + name + "\"";
}

class Findings {
  public:
    explicit Findings(TCheckFindings& out) : out_(out) {}

    // A limit of 0 is one the engine does not set.
    void Above(std::int64_t value, std::int64_t limit, const char* what, const std::string& where,
               TSeverity severity = TSeverity::Error) {
        if (limit > 0 && value > limit) out_.push_back({what, value, limit, where, true, severity});
    }

    // A bound the engine declares but never enforces.
    void Declared(std::int64_t value, std::int64_t limit, const char* what,
                  const std::string& where) {
        Above(value, limit, what, where, TSeverity::Warning);
    }

    // Every engine refuses a file of another version.
    void Version(std::int32_t version, std::int32_t read) {
        if (version != read)
            out_.push_back({"version " + std::to_string(version) + ": the game reads only " +
                                std::to_string(read),
                            0, 0, "", false});
    }

  private:
    TCheckFindings& out_;
};

void NotLoaded(const TEngineLimits& limits, const char* format, TCheckFindings& out) {
    TCheckFinding f;
    f.what = std::string(format) + " models are not read by " + limits.name;
    f.counted = false;
    out.push_back(f);
}

// The game's LOD reduction replaces a vertex by a lower-numbered one; a map entry at or
// above its own index (other than "none", -1) makes the reduction read the wrong vertex or
// loop.
template <typename Surface>
void CheckCollapseMap(const Surface& s, const std::string& where, TCheckFindings& out) {
    for (std::size_t v = 0; v < s.collapseMap.size(); ++v) {
        const std::uint32_t to = s.collapseMap[v];
        if (to == 0xFFFFFFFFu || to < v || (v == 0 && to == 0)) continue;
        out.push_back({"collapse map entry not below its vertex", static_cast<std::int64_t>(to),
                       static_cast<std::int64_t>(v) - 1, where + " vertex " + std::to_string(v)});
    }
}

bool Finite(const TVector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The pose indexes a fixed array of the skeleton's bones with each weight's bone, and a weight
// or offset that is not a number spreads to the whole vertex and its bounds. One finding per
// surface and kind, at its first vertex, keeps a broken surface from flooding the list.
template <typename Surface>
void CheckWeights(const Surface& s, const std::string& where, const TEngineLimits& limits,
                  TCheckFindings& out) {
    std::int64_t highestBone = -1;
    std::size_t boneVertex = 0;  // the first vertex with a bone past the skeleton
    bool notFinite = false;
    std::size_t finiteVertex = 0;
    for (std::size_t v = 0; v < s.vertices.size(); ++v) {
        for (const TMDMWeight& w : s.vertices[v].weights) {
            if (limits.bones > 0 && w.boneIndex >= limits.bones) {
                if (highestBone < 0) boneVertex = v;
                highestBone = std::max<std::int64_t>(highestBone, w.boneIndex);
            }
            if (!notFinite && (!std::isfinite(w.boneWeight) || !Finite(w.offset))) {
                notFinite = true;
                finiteVertex = v;
            }
        }
    }
    if (highestBone >= 0)
        out.push_back({"bone of a vertex weight", highestBone, limits.bones - 1,
                       where + " vertex " + std::to_string(boneVertex)});
    if (notFinite)
        out.push_back({"vertex weight or offset that is not a finite number", 0, 0,
                       where + " vertex " + std::to_string(finiteVertex), false});
}

template <typename Surface>
void CheckSkeletalSurface(const Surface& s, std::size_t index, const TEngineLimits& limits,
                          Findings& f, TCheckFindings& out) {
    const std::string where = Where("surface", index, FieldText(s.name));
    const auto verts = static_cast<std::int64_t>(s.numVerts);
    const auto tris = static_cast<std::int64_t>(s.numTriangles);
    f.Declared(verts, limits.skeletalVerts, "vertices on a surface", where);
    f.Declared(tris, limits.skeletalTriangles, "triangles on a surface", where);
    f.Above(verts, limits.surfaceVerts, "vertices the renderer takes from a surface", where);
    f.Above(tris * 3, limits.surfaceIndexes, "triangle corners the renderer takes from a surface",
            where);
    f.Above(NameLength(s.name), limits.nameChars, "characters in the surface name", where);
    f.Above(NameLength(s.shader), limits.nameChars, "characters in the shader name", where);
    for (std::size_t r = 0; r < s.boneReferences.size(); ++r) {
        f.Above(static_cast<std::int64_t>(s.boneReferences[r]), limits.bones - 1, "bone referenced",
                where + " bone reference " + std::to_string(r));
    }
    CheckWeights(s, where, limits, out);
    CheckCollapseMap(s, where, out);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

enum class TSkinLineKind { Surface, Model, Tag, Comment };

// Lines that attach models ("md3_...") or name tags ("tag_...") name no surface; a line
// starting "//" is a comment to the game's parser.
TSkinLineKind SkinLineKind(const std::string& surfaceName) {
    if (surfaceName.rfind("//", 0) == 0) return TSkinLineKind::Comment;
    if (surfaceName.rfind("md3_", 0) == 0) return TSkinLineKind::Model;
    if (surfaceName.rfind("tag_", 0) == 0) return TSkinLineKind::Tag;
    return TSkinLineKind::Surface;
}

}  // namespace

TCheckFindings CheckMD3(const TMD3& model, const TEngineLimits& limits) {
    TCheckFindings out;
    Findings f(out);
    const THeader& h = model.header;
    f.Version(h.version, kMD3Version);
    f.Declared(h.numSurfaces, limits.md3Surfaces, "surfaces", "");
    f.Declared(h.numFrames, limits.md3Frames, "frames", "");
    // Every engine's MD3 loader refuses a model without frames, whatever else it holds.
    if (h.numFrames < 1) out.push_back({"no frames: the game refuses the model", 0, 1, "", false});
    f.Declared(h.numTags, limits.md3Tags, "tags per frame", "");
    f.Above(NameLength(h.name), limits.nameChars, "characters in the model name", "");
    for (std::size_t i = 0; i < h.surfaces.size(); ++i) {
        const TSurface& s = h.surfaces[i];
        const std::string where = Where("surface", i, FieldText(s.name));
        f.Declared(s.numVerts, limits.md3Verts, "vertices on a surface", where);
        f.Declared(s.numTriangles, limits.md3Triangles, "triangles on a surface", where);
        f.Declared(s.numShaders, limits.md3Shaders, "shaders on a surface", where);
        f.Above(s.numVerts, limits.surfaceVerts, "vertices the renderer takes from a surface",
                where);
        f.Above(static_cast<std::int64_t>(s.numTriangles) * 3, limits.surfaceIndexes,
                "triangle corners the renderer takes from a surface", where);
        f.Above(NameLength(s.name), limits.nameChars, "characters in the surface name", where);
        for (std::size_t k = 0; k < s.shaders.size(); ++k) {
            f.Above(NameLength(s.shaders[k].name), limits.nameChars,
                    "characters in the shader name", where + " shader " + std::to_string(k));
        }
    }
    const std::size_t tagsPerFrame = h.numTags > 0 ? static_cast<std::size_t>(h.numTags) : 0;
    for (std::size_t t = 0; t < tagsPerFrame && t < h.tags.size(); ++t)
        f.Above(NameLength(h.tags[t].name), limits.nameChars, "characters in the tag name",
                Where("tag", t, FieldText(h.tags[t].name)));
    return out;
}

TCheckFindings CheckMDM(const TMDM& model, const TEngineLimits& limits) {
    TCheckFindings out;
    if (!limits.loadsSkeletal) {
        NotLoaded(limits, "MDM", out);
        return out;
    }
    Findings f(out);
    f.Version(model.header.version, kEngineMDMVersion);
    f.Declared(model.header.numSurfaces, limits.skeletalSurfaces, "surfaces", "");
    f.Declared(model.header.numTags, limits.skeletalTags, "tags", "");
    for (std::size_t i = 0; i < model.surfaces.size(); ++i)
        CheckSkeletalSurface(model.surfaces[i], i, limits, f, out);
    for (std::size_t t = 0; t < model.tags.size(); ++t) {
        const TMDMTag& tag = model.tags[t];
        const std::string where = Where("tag", t, FieldText(tag.name));
        f.Above(NameLength(tag.name), limits.nameChars, "characters in the tag name", where);
        f.Above(tag.boneIndex, limits.bones - 1, "bone of the tag", where);
        if (!Finite(tag.offset) || !Finite(tag.axis[0]) || !Finite(tag.axis[1]) ||
            !Finite(tag.axis[2]))
            out.push_back({"tag offset or axis that is not a finite number", 0, 0, where, false});
    }
    return out;
}

TCheckFindings CheckMDX(const TMDX& model, const TEngineLimits& limits) {
    TCheckFindings out;
    if (!limits.loadsSkeletal) {
        NotLoaded(limits, "MDX", out);
        return out;
    }
    Findings f(out);
    f.Version(model.header.version, kEngineMDXVersion);
    f.Above(model.header.numBones, limits.bones, "bones", "");
    for (std::size_t b = 0; b < model.bones.size(); ++b)
        f.Above(NameLength(model.bones[b].name), limits.nameChars, "characters in the bone name",
                Where("bone", b, FieldText(model.bones[b].name)));
    return out;
}

TCheckFindings CheckMDS(const TMDS& model, const TEngineLimits& limits) {
    TCheckFindings out;
    if (!limits.loadsSkeletal) {
        NotLoaded(limits, "MDS", out);
        return out;
    }
    Findings f(out);
    f.Version(model.header.version, kEngineMDSVersion);
    f.Declared(model.header.numSurfaces, limits.skeletalSurfaces, "surfaces", "");
    f.Declared(model.header.numTags, limits.skeletalTags, "tags", "");
    f.Above(model.header.numBones, limits.bones, "bones", "");
    for (std::size_t i = 0; i < model.surfaces.size(); ++i)
        CheckSkeletalSurface(model.surfaces[i], i, limits, f, out);
    for (std::size_t b = 0; b < model.bones.size(); ++b)
        f.Above(NameLength(model.bones[b].name), limits.nameChars, "characters in the bone name",
                Where("bone", b, FieldText(model.bones[b].name)));
    return out;
}

TCheckFindings CheckTags(const std::vector<TMD3Tag>& tags, const TEngineLimits& limits) {
    TCheckFindings out;
    Findings f(out);
    f.Declared(static_cast<std::int64_t>(tags.size()), limits.md3Tags, "tags", "");
    for (std::size_t t = 0; t < tags.size(); ++t)
        f.Above(NameLength(tags[t].name), limits.nameChars, "characters in the tag name",
                Where("tag", t, FieldText(tags[t].name)));
    return out;
}

TCheckFindings CheckAnincRanges(const TANINC& list, std::int64_t mdxFrames) {
    TCheckFindings out;
    for (std::size_t i = 0; i < list.frames.size(); ++i) {
        const TANINCFrame& a = list.frames[i];
        const std::int64_t end = static_cast<std::int64_t>(a.firstFrame) + a.numFrames;
        if (a.firstFrame < 0 || a.numFrames < 0 || end > mdxFrames)
            out.push_back({"last frame of the animation", end - 1, mdxFrames - 1,
                           Where("animation", i, a.name)});
    }
    return out;
}

TCheckFindings CheckSkinSurfaces(const TSkin& skin, const std::vector<std::string>& surfaceNames) {
    TCheckFindings out;
    std::vector<std::string> names;
    for (const std::string& name : surfaceNames)
        names.push_back(Lower(name));
    for (std::size_t i = 0; i < skin.size(); ++i) {
        const std::string& surface = skin[i].surfaceName;
        if (skin[i].modelSlot || SkinLineKind(surface) != TSkinLineKind::Surface) continue;
        if (std::find(names.begin(), names.end(), Lower(surface)) != names.end()) continue;
        TCheckFinding f;
        f.what = "skin names a surface the model lacks";
        f.where = "skin entry " + std::to_string(i) + " \"" + surface + "\"";
        f.counted = false;
        out.push_back(f);
    }
    return out;
}

TCheckFindings CheckSkinLines(const TSkin& skin, const TEngineLimits& limits) {
    std::int64_t surfaces = 0, models = 0;
    for (const TSkinRec& rec : skin) {
        const TSkinLineKind kind = SkinLineKind(rec.surfaceName);
        surfaces += kind == TSkinLineKind::Surface;
        // An engine without attached models reads such a line as a surface.
        if (kind == TSkinLineKind::Model) ++(limits.skinModels > 0 ? models : surfaces);
    }
    TCheckFindings out;
    Findings f(out);
    const TSeverity severity = limits.skinOverrun ? TSeverity::Error : TSeverity::Warning;
    f.Above(surfaces, limits.skinSurfaces, "surface lines in the skin", "", severity);
    f.Above(models, limits.skinModels, "\"md3_\" lines in the skin", "", severity);
    return out;
}

std::vector<std::string> SurfaceNames(const TMD3& model) {
    std::vector<std::string> names;
    for (const TSurface& s : model.header.surfaces)
        names.push_back(SkinSurfaceName(FieldText(s.name), TSkinNaming::VertexModel));
    return names;
}

std::vector<std::string> SurfaceNames(const TMDM& model) {
    std::vector<std::string> names;
    for (const TMDMSurface& s : model.surfaces)
        names.push_back(FieldText(s.name));
    return names;
}

std::vector<std::string> SurfaceNames(const TMDS& model) {
    std::vector<std::string> names;
    for (const TMDSSurface& s : model.surfaces)
        names.push_back(FieldText(s.name));
    return names;
}
