// glTF to MDM and MDX: the skin's joints become the bones, its vertices weights with offsets in
// their bones' frames, the sampled frames the animation.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "check/engine_limits.h"
#include "import/gltf_import.h"
#include "import/gltf_import_axes.h"
#include "import/gltf_import_bones.h"
#include "import/gltf_import_error.h"
#include "import/gltf_import_frames.h"
#include "import/gltf_import_materials.h"
#include "import/gltf_import_mesh.h"
#include "import/gltf_library.h"
#include "import/import_bounds.h"
#include "import/import_report.h"
#include "lod/collapse_map.h"
#include "md3/md3.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "skeletal/skeletal_orientation.h"
#include "skeletal/skeletal_pose.h"

namespace {

constexpr const char* kModelName = "K_Converted_From_glTF";
// A bone whose distance to its parent changes by more than this over the frames cannot be
// shown as animated: the MDX keeps one distance per bone.
constexpr float kStretchTolerance = 1.0f / 64.0f;
// Vertices times frames past this would keep the frame bounds busy longer than any player needs.
constexpr std::size_t kMaxVertexFrames = std::size_t{1} << 27;

// A joint's world transform in game coordinates: where it stands and how it is turned.
struct TGameBone {
    TVector3 position;
    TGameRotation rotation;
};

TGameBone GameBone(const TGltfMatrix& world, float scale) {
    const TMD3Tag frame = GameTagFromGltf(world, scale);
    return {frame.origin, {{frame.axis[0], frame.axis[1], frame.axis[2]}}};
}

// The skin every primitive uses; refused when one has none or they differ.
int CommonSkin(const std::vector<TGltfPrimitive>& primitives) {
    if (primitives.empty()) throw TGltfRefusal("no meshes to convert");
    const int skin = primitives[0].skin;
    for (const TGltfPrimitive& p : primitives) {
        if (p.skin < 0)
            throw TGltfRefusal("mesh \"" + p.name +
                               "\" has no skin; an MDM holds skinned meshes only");
        if (p.skin != skin)
            throw TGltfRefusal("the meshes use different skins; an MDM has one skeleton");
    }
    return skin;
}

// No split or scale can help a player past the game's limits: it is refused, saying which.
void CheckLimit(std::size_t count, std::int64_t limit, const std::string& what) {
    if (static_cast<std::int64_t>(count) > limit)
        throw TGltfRefusal(what + " " + std::to_string(count) + ", more than the " +
                           std::to_string(limit) + " the game takes");
}

// The bones a list of bones needs posed: themselves and their ancestors, in bone order
// (parents first), as the game computes them.
std::vector<TMDMSurfaceBoneRefs> WithAncestors(const std::set<std::int32_t>& used,
                                               const std::vector<TMDXBoneInfo>& bones) {
    std::set<std::int32_t> all;
    for (std::int32_t b : used)
        for (std::int32_t a = b; a >= 0 && all.insert(a).second;
             a = bones[static_cast<std::size_t>(a)].parent) {
        }
    return {all.begin(), all.end()};
}

}  // namespace

bool TGltfImport::ConvertGltfToMDM(TMDM& mesh, TMDX& anim, std::string& message) {
    message.clear();
    skippedText_.clear();
    limitExceeded_ = false;
    mesh = TMDM{};
    anim = TMDX{};
    const float scale = choice.settings.scale;
    const TEngineLimits& limits = LimitsOf(TEngine::ET);
    TImportReport report;
    try {
        const TGltfScene scene(*model_);
        const std::vector<TGltfSkin> skins = ReadGltfSkins(*model_);
        const std::vector<TGltfPrimitive> primitives = ReadGltfPrimitives(*model_, scene, skins);
        const TGltfSkin& skin = skins[static_cast<std::size_t>(CommonSkin(primitives))];
        CheckLimit(skin.joints.size(), limits.bones, "the skin has joints:");
        CheckLimit(primitives.size(), limits.skeletalSurfaces, "meshes:");
        const TGltfFrames frames = ChooseGltfFrames(*model_, choice, 1u << 16, "an MDX animation");
        CheckGltfVertexFrames(primitives, frames.times.size(), kMaxVertexFrames, "an MDM import");

        // Bones in the scene's order, so that every parent comes before its children.
        std::vector<std::int32_t> boneOfNode(model_->nodes.size(), -1);
        std::vector<std::size_t> jointOfBone;
        for (int node : scene.Nodes())
            for (std::size_t j = 0; j < skin.joints.size(); ++j)
                if (skin.joints[j] == node && boneOfNode[static_cast<std::size_t>(node)] < 0) {
                    boneOfNode[static_cast<std::size_t>(node)] =
                        static_cast<std::int32_t>(jointOfBone.size());
                    jointOfBone.push_back(j);
                }
        if (jointOfBone.size() != std::set<int>(skin.joints.begin(), skin.joints.end()).size())
            throw TGltfRefusal("a joint of the skin is not in the scene");
        // The bone of each joint index (joints named twice share a bone).
        std::vector<std::int32_t> boneOfJoint(skin.joints.size());
        for (std::size_t j = 0; j < skin.joints.size(); ++j)
            boneOfJoint[j] = boneOfNode[static_cast<std::size_t>(skin.joints[j])];
        const auto nearestBone = [&](int node) {
            for (int n = node; n >= 0; n = scene.Parent(n))
                if (boneOfNode[static_cast<std::size_t>(n)] >= 0)
                    return boneOfNode[static_cast<std::size_t>(n)];
            return std::int32_t{-1};
        };
        const std::size_t boneCount = jointOfBone.size();
        anim.bones.resize(boneCount);
        int roots = 0;
        for (std::size_t b = 0; b < boneCount; ++b) {
            const int node = skin.joints[jointOfBone[b]];
            TMDXBoneInfo& bone = anim.bones[b];
            SetNameField(model_->nodes[static_cast<std::size_t>(node)].name, bone.name);
            const int parentNode = scene.Parent(node);
            bone.parent = parentNode < 0 ? -1 : nearestBone(parentNode);
            if (bone.parent < 0) ++roots;
        }
        if (roots != 1)
            throw TGltfRefusal("the skin has " + std::to_string(roots) +
                               " root joints; an MDX skeleton has one");

        // Every frame's bones in game coordinates.
        std::vector<std::vector<TGameBone>> posed(frames.times.size(),
                                                  std::vector<TGameBone>(boneCount));
        std::vector<TGltfMatrix> world;
        for (std::size_t f = 0; f < frames.times.size(); ++f) {
            scene.WorldMatrices(frames.Poses(scene, f), world);
            for (std::size_t b = 0; b < boneCount; ++b)
                posed[f][b] =
                    GameBone(world[static_cast<std::size_t>(skin.joints[jointOfBone[b]])], scale);
        }
        // Each bone keeps one distance to its parent: the mean over the frames.
        std::int64_t stretched = 0;
        for (std::size_t b = 0; b < boneCount; ++b) {
            const std::int32_t parent = anim.bones[b].parent;
            if (parent < 0) continue;
            double sum = 0, low = 1e30, high = 0;
            for (const auto& frame : posed) {
                const double d = VectorLength(frame[b].position -
                                              frame[static_cast<std::size_t>(parent)].position);
                sum += d, low = std::min(low, d), high = std::max(high, d);
            }
            anim.bones[b].parentDist = static_cast<float>(sum / static_cast<double>(posed.size()));
            if (high - low > kStretchTolerance) ++stretched;
        }
        report.Count(stretched, "bone", "bones",
                     "changing length in the animation kept at the mean length");

        // The mesh: offsets of the inverse bind pose, in game units and axes.
        std::set<std::int32_t> usedByMesh;
        std::int64_t unweighted = 0;
        for (const TGltfPrimitive& p : primitives) {
            CheckLimit(p.VertexCount(), limits.skeletalVerts, "mesh \"" + p.name + "\" vertices:");
            CheckLimit(p.triangles.size(), limits.skeletalTriangles,
                       "mesh \"" + p.name + "\" triangles:");
            TMDMSurface s;
            std::memcpy(s.ident, kMDMIdent, sizeof(s.ident));
            SetNameField(p.name, s.name);
            SetNameField(GltfShaderName(*model_, p.material, choice.settings.shaderPrefix),
                         s.shader);
            s.shaderIndex = -1;
            std::set<std::int32_t> used;
            const std::vector<float> normals = GltfRestNormals(p);
            for (std::size_t v = 0; v < p.VertexCount(); ++v) {
                const TGltfPoint position{p.positions[3 * v], p.positions[3 * v + 1],
                                          p.positions[3 * v + 2]};
                const TGltfPoint normal{normals[3 * v], normals[3 * v + 1], normals[3 * v + 2]};
                TMDMVertex vertex;
                vertex.texCoords[0] = p.texCoords.empty() ? 0.0f : p.texCoords[2 * v];
                vertex.texCoords[1] = p.texCoords.empty() ? 0.0f : p.texCoords[2 * v + 1];
                double total = 0;
                std::size_t strongest = 0;
                for (std::size_t k = 0; k < p.influences; ++k) {
                    const float w = p.weights[v * p.influences + k];
                    total += w;
                    if (w > p.weights[v * p.influences + strongest]) strongest = k;
                }
                // The game needs a weight on every vertex; one without stays on the root.
                if (!(total > 0)) ++unweighted;
                std::map<std::int32_t, std::pair<float, TVector3>> byBone;
                for (std::size_t k = 0; k < std::max<std::size_t>(p.influences, 1); ++k) {
                    const bool none = !(total > 0);
                    const float w = none ? 1.0f : p.weights[v * p.influences + k];
                    if (!(w > 0)) continue;
                    const std::uint32_t j = none ? 0 : p.joints[v * p.influences + k];
                    const std::int32_t bone = none ? 0 : boneOfJoint[j];
                    const TGltfPoint local =
                        TransformPoint(skin.inverseBinds[none ? jointOfBone[0] : j], position);
                    auto& entry = byBone[bone];
                    entry.first += none ? 1.0f : static_cast<float>(w / total);
                    entry.second = GameFromGltf(local) * scale;
                }
                for (const auto& [bone, entry] : byBone) {
                    TMDMWeight weight;
                    weight.boneIndex = bone;
                    weight.boneWeight = entry.first;
                    weight.offset = entry.second;
                    vertex.weights.push_back(weight);
                    used.insert(bone);
                }
                vertex.numWeights = static_cast<std::int32_t>(vertex.weights.size());
                // One normal serves every weight: it is given in the strongest bone's frame.
                const std::size_t joint =
                    total > 0 ? p.joints[v * p.influences + strongest] : jointOfBone[0];
                const TGltfMatrix turn = NormalMatrix(skin.inverseBinds[joint]);
                vertex.normal = VectorNormalize(GameFromGltf(TransformDirection(turn, normal)));
                s.vertices.push_back(std::move(vertex));
            }
            for (const auto& t : p.triangles)
                // The game's front faces turn the other way round than glTF's: the corners
                // reversed, as the export reverses them.
                s.triangles.push_back(
                    {{static_cast<std::int32_t>(t[2]), static_cast<std::int32_t>(t[1]),
                      static_cast<std::int32_t>(t[0])}});
            s.boneReferences = WithAncestors(used, anim.bones);
            usedByMesh.insert(used.begin(), used.end());
            s.numVerts = static_cast<std::uint32_t>(s.vertices.size());
            s.numTriangles = static_cast<std::uint32_t>(s.triangles.size());
            s.numBoneReferences = static_cast<std::uint32_t>(s.boneReferences.size());
            s.collapseMap.assign(s.vertices.size(), 0);
            mesh.surfaces.push_back(std::move(s));
        }
        report.Count(unweighted, "vertex", "vertices",
                     "without joint weights bound to the root bone");

        // Tags: tag_* nodes, on their nearest joint, placed as they stand in the first frame.
        scene.WorldMatrices(frames.Poses(scene, 0), world);
        for (int node : scene.Nodes()) {
            const std::string& name = model_->nodes[static_cast<std::size_t>(node)].name;
            if (!name.starts_with("tag_")) continue;
            const std::int32_t bone = nearestBone(node);
            if (bone < 0) {
                report.Note("tag \"" + name + "\" is on no joint and left out");
                continue;
            }
            const TMD3Tag placed = GameTagFromGltf(world[static_cast<std::size_t>(node)], scale);
            const TGameBone& b = posed[0][static_cast<std::size_t>(bone)];
            TMDMTag tag;
            SetNameField(name, tag.name);
            tag.boneIndex = bone;
            tag.offset = IntoBoneFrame(b.rotation, placed.origin - b.position);
            for (int k = 0; k < 3; ++k)
                tag.axis[k] = IntoBoneFrame(b.rotation, placed.axis[k]);
            tag.boneReferences = WithAncestors({bone}, anim.bones);
            tag.numBoneReferences = static_cast<std::uint32_t>(tag.boneReferences.size());
            mesh.tags.push_back(std::move(tag));
        }
        CheckLimit(mesh.tags.size(), limits.skeletalTags, "tags:");

        // The frames: rotations and offset directions as the game stores them.
        anim.frames.resize(frames.times.size());
        for (std::size_t f = 0; f < frames.times.size(); ++f) {
            TMDXFrame& frame = anim.frames[f];
            frame.boneFrames.resize(boneCount);
            for (std::size_t b = 0; b < boneCount; ++b) {
                const std::int32_t parent = anim.bones[b].parent;
                EncodeBoneRotation(posed[f][b].rotation, frame.boneFrames[b]);
                if (parent < 0) {
                    frame.parentOffset = posed[f][b].position;
                } else {
                    EncodeBoneDirection(
                        posed[f][b].position - posed[f][static_cast<std::size_t>(parent)].position,
                        frame.boneFrames[b]);
                }
            }
        }
    } catch (const TGltfRefusal& refusal) {
        mesh = TMDM{};
        anim = TMDX{};
        message = refusal.what();
        return false;
    }

    std::memcpy(anim.header.ident, kMDXIdent, sizeof(anim.header.ident));
    anim.header.version = kEngineMDXVersion;
    SetNameField(kModelName, anim.header.name);
    anim.header.numFrames = static_cast<std::uint32_t>(anim.frames.size());
    anim.header.numBones = static_cast<std::uint32_t>(anim.bones.size());
    std::memcpy(mesh.header.ident, kMDMIdent, sizeof(mesh.header.ident));
    mesh.header.version = kEngineMDMVersion;
    SetNameField(kModelName, mesh.header.name);
    mesh.header.numSurfaces = static_cast<std::uint32_t>(mesh.surfaces.size());
    mesh.header.numTags = static_cast<std::uint32_t>(mesh.tags.size());
    mesh.ResetLodTable();

    // Frame bounds from the posed mesh, as the game culls by them.
    for (std::uint32_t f = 0; f < anim.header.numFrames; ++f) {
        TImportBounds bounds;
        for (std::uint32_t s = 0; s < mesh.header.numSurfaces; ++s) {
            SkeletalPose(mesh, anim, f, s);
            for (TVector3 p : mesh.pose.vertexPositions)
                bounds.Add(GameFromPose(p));
        }
        TMDXFrame& frame = anim.frames[f];
        if (!bounds.empty) {
            frame.minBounds = bounds.min;
            frame.maxBounds = bounds.max;
        }
        frame.localOrigin = (frame.minBounds + frame.maxBounds) * 0.5f;
        frame.radius = VectorLength(frame.maxBounds - frame.minBounds) * 0.5f;
    }
    TCollapseMap lod;
    if (!lod.CalculateLod(mesh, anim, 0))
        report.Note("no collapse maps: the model cannot be posed");
    skippedText_ = report.Text();
    return true;
}
