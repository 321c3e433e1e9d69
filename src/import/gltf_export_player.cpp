// Players in an export: the MDM as skinned meshes on the MDX's bones, one animation per clip,
// and the MDM's tags as nodes under their bones.
#include <algorithm>
#include <cstdio>

#include "import/gltf_accessors.h"
#include "import/gltf_bind_pose.h"
#include "import/gltf_export.h"
#include "import/gltf_export_channels.h"
#include "skeletal/parallel_frames.h"
#include "skeletal/skeletal_poser.h"

namespace {

// glTF's joints and weights take four influences a vertex.
constexpr std::size_t kInfluences = 4;

bool HasParent(const TMDX& anim, std::size_t b) {
    const std::int32_t parent = anim.bones[b].parent;
    return parent >= 0 && static_cast<std::size_t>(parent) < b;
}

// A bone's frame relative to its parent's (or to the model for a root).
TGameFrame LocalFrame(const TMDX& anim, const std::vector<TGameFrame>& world, std::size_t b) {
    return HasParent(anim, b)
               ? FrameInParent(world[b],
                               InverseFrame(world[static_cast<std::size_t>(anim.bones[b].parent)]))
               : world[b];
}

std::vector<TGameFrame> LocalFrames(const TMDX& anim, const std::vector<TGameFrame>& world) {
    std::vector<TGameFrame> local(world.size());
    for (std::size_t b = 0; b < world.size(); ++b)
        local[b] = LocalFrame(anim, world, b);
    return local;
}

struct TInfluences {
    std::vector<std::array<std::uint16_t, 4>> joints;
    std::vector<std::array<float, 4>> weights;
    std::size_t trimmed = 0;  // vertices that had more than four
};

TInfluences InfluencesOf(const TMDMSurface& surface, std::size_t bones) {
    TInfluences out;
    std::vector<TMDMWeight> usable;
    for (const TMDMVertex& vertex : surface.vertices) {
        usable.clear();
        for (const TMDMWeight& w : vertex.weights) {
            if (w.boneIndex >= 0 && static_cast<std::size_t>(w.boneIndex) < bones &&
                w.boneWeight > 0.0f)
                usable.push_back(w);
        }
        if (usable.size() > kInfluences) {
            ++out.trimmed;
            std::stable_sort(usable.begin(), usable.end(),
                             [](const TMDMWeight& a, const TMDMWeight& b) {
                                 return a.boneWeight > b.boneWeight;
                             });
            usable.resize(kInfluences);
        }
        float total = 0.0f;
        for (const TMDMWeight& w : usable)
            total += w.boneWeight;
        std::array<std::uint16_t, 4> joints{};
        std::array<float, 4> weights{};
        for (std::size_t i = 0; i < usable.size(); ++i) {
            joints[i] = static_cast<std::uint16_t>(usable[i].boneIndex);
            weights[i] = usable[i].boneWeight / total;
        }
        // A vertex without any weight follows the first bone rather than vanishing.
        if (usable.empty()) weights[0] = 1.0f;
        out.joints.push_back(joints);
        out.weights.push_back(weights);
    }
    return out;
}

std::string Fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

}  // namespace

bool TGltfExport::AddPlayer(TMDM& mesh, const TMDX& anim, const std::vector<TGltfClip>& clips,
                            const std::vector<TGltfMaterial>& materials) {
    const std::optional<TBindPose> bind = FitBindPose(mesh, anim);
    if (!bind) return false;
    const std::size_t boneCount = anim.bones.size();

    // Joints, in bone order so that a joint's number is its bone's.
    const std::vector<TGameFrame> bindLocal = LocalFrames(anim, bind->bones);
    std::vector<int> jointNodes(boneCount);
    for (std::size_t b = 0; b < boneCount; ++b) {
        tinygltf::Node node;
        node.name = NameFieldText(anim.bones[b].name);
        SetNodeTransform(node, GltfFromGame(bindLocal[b].origin),
                         GltfRotationFromGame(bindLocal[b].axis));
        jointNodes[b] = AddNode(
            std::move(node),
            HasParent(anim, b) ? jointNodes[static_cast<std::size_t>(anim.bones[b].parent)] : -1);
    }
    tinygltf::Skin skin;
    skin.name = NameFieldText(anim.header.name);
    skin.joints = jointNodes;
    std::vector<std::array<float, 16>> inverseBinds(boneCount);
    for (std::size_t b = 0; b < boneCount; ++b)
        inverseBinds[b] = GltfMatrixFromGame(InverseFrame(bind->bones[b]));
    skin.inverseBindMatrices = AddGltfMat4Accessor(model_, inverseBinds);
    model_.skins.push_back(std::move(skin));
    const int skinIndex = static_cast<int>(model_.skins.size()) - 1;

    // The skinned meshes stand at the top of the scene: glTF places them by their joints.
    std::size_t trimmed = 0;
    for (std::size_t s = 0; s < mesh.surfaces.size(); ++s) {
        const TMDMSurface& surface = mesh.surfaces[s];
        const std::size_t verts = surface.vertices.size();
        if (verts == 0 || surface.triangles.empty()) continue;
        std::vector<TVector3> positions(verts), normals(verts);
        std::vector<std::array<float, 2>> uv(verts);
        for (std::size_t v = 0; v < verts; ++v) {
            positions[v] = GltfFromGame(bind->positions[s][v]);
            normals[v] = GltfFromGame(bind->normals[s][v]);
            uv[v] = {surface.vertices[v].texCoords[0], surface.vertices[v].texCoords[1]};
        }
        std::vector<std::uint32_t> indices;
        for (const TMDMTriangle& t : surface.triangles) {
            // Clockwise in the game, counter-clockwise in glTF.
            for (int k : {2, 1, 0}) {
                const std::int32_t i = t.indexes[k];
                indices.push_back(i >= 0 && static_cast<std::size_t>(i) < verts
                                      ? static_cast<std::uint32_t>(i)
                                      : 0);
            }
        }
        const TInfluences influences = InfluencesOf(surface, boneCount);
        trimmed += influences.trimmed;
        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.attributes["POSITION"] = AddGltfVec3Accessor(model_, positions, true);
        primitive.attributes["NORMAL"] = AddGltfVec3Accessor(model_, normals, false);
        primitive.attributes["TEXCOORD_0"] = AddGltfVec2Accessor(model_, uv);
        primitive.attributes["JOINTS_0"] = AddGltfJointsAccessor(model_, influences.joints);
        primitive.attributes["WEIGHTS_0"] = AddGltfVec4Accessor(model_, influences.weights);
        primitive.indices = AddGltfIndexAccessor(model_, indices);
        primitive.material = MaterialFor(materials, s, NameFieldText(surface.shader));
        tinygltf::Mesh out;
        out.name = NameFieldText(surface.name);
        out.primitives.push_back(std::move(primitive));
        model_.meshes.push_back(std::move(out));
        tinygltf::Node node;
        node.name = NameFieldText(surface.name);
        node.mesh = static_cast<int>(model_.meshes.size()) - 1;
        node.skin = skinIndex;
        AddNode(std::move(node), -1);
    }
    if (trimmed > 0) {
        notes_.push_back(std::to_string(trimmed) + " vertices had more than four weights: the " +
                         "four largest were kept and scaled to sum to 1");
    }
    if (bind->largestGap >= 1.0 / 64.0) {
        notes_.push_back("the bind pose places vertices up to " + Fixed(bind->largestGap) +
                         " units (" + Fixed(bind->meanGap) +
                         " on average) from where the game's weights put them");
    }

    // A tag keeps its place in its bone's frame: its offset and axes are that place.
    for (const TMDMTag& tag : mesh.tags) {
        if (tag.boneIndex < 0 || static_cast<std::size_t>(tag.boneIndex) >= boneCount) continue;
        tinygltf::Node node;
        node.name = NameFieldText(tag.name);
        const TGameFrame local{tag.offset, {tag.axis[0], tag.axis[1], tag.axis[2]}};
        SetNodeTransform(node, GltfFromGame(local.origin), GltfRotationFromGame(local.axis));
        const std::string name = node.name;
        RememberTag(name,
                    AddNode(std::move(node), jointNodes[static_cast<std::size_t>(tag.boneIndex)]));
    }

    // Frames are posed on every core: each worker has its own poser and a mesh of its own
    // for the poser's output (the bones alone; the surfaces are not posed here).
    const unsigned workers = FrameWorkers();
    std::vector<TSkeletalPoser> posers(workers);
    std::vector<TMDM> poses(workers);
    std::vector<std::vector<TGameFrame>> worlds(workers, std::vector<TGameFrame>(boneCount));
    std::vector<std::vector<TVector3>> translations(boneCount);
    std::vector<std::vector<std::array<float, 4>>> rotations(boneCount);
    for (const TGltfClip& clip : clips) {
        if (clip.count == 0 || clip.first + std::uint64_t{clip.count} > anim.frames.size())
            continue;
        for (std::size_t b = 0; b < boneCount; ++b) {
            translations[b].resize(clip.count);
            rotations[b].resize(clip.count);
        }
        ForEachFrameInParallel(clip.count, workers, nullptr, [&](unsigned w, std::uint32_t k) {
            std::vector<TGameFrame>& world = worlds[w];
            // A frame the poser refuses (one without a bone frame per bone) keeps still.
            const bool posed = posers[w].PoseFrame(poses[w], anim, clip.first + k);
            for (std::size_t b = 0; b < boneCount; ++b)
                world[b] = posed ? GameBoneFrame(poses[w].pose, b) : bind->bones[b];
            for (std::size_t b = 0; b < boneCount; ++b) {
                const TGameFrame local = LocalFrame(anim, world, b);
                translations[b][k] = GltfFromGame(local.origin);
                const TGltfQuaternion q = GltfRotationFromGame(local.axis);
                rotations[b][k] = {static_cast<float>(q[0]), static_cast<float>(q[1]),
                                   static_cast<float>(q[2]), static_cast<float>(q[3])};
            }
        });
        for (std::vector<std::array<float, 4>>& track : rotations)
            KeepHemisphere(track);
        tinygltf::Animation animation;
        animation.name = clip.name;
        const int times = AddGltfFrameTimes(model_, clip.count, clip.fps);
        for (std::size_t b = 0; b < boneCount; ++b) {
            AddGltfChannel(animation, jointNodes[b], "translation", times,
                           AddGltfVec3Accessor(model_, translations[b], false, 0));
            AddGltfChannel(animation, jointNodes[b], "rotation", times,
                           AddGltfVec4Accessor(model_, rotations[b], 0));
        }
        model_.animations.push_back(std::move(animation));
    }
    return true;
}
