// The triangles of a glTF scene: every primitive a node of the scene draws, read into plain
// arrays (positions, normals, texture coordinates, morph targets, joint influences and
// triangle corners), and posed at one moment of an animation in the file's own coordinates.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "import/gltf_import_scene.h"

namespace tinygltf {
class Model;
}

struct TGltfMorphTarget {
    std::vector<float> positions;  // 3 per vertex: added to the positions, times the weight
    std::vector<float> normals;    // 3 per vertex, or none
};

struct TGltfPrimitive {
    int node = -1;
    int skin = -1;
    int material = -1;
    std::string name;
    std::vector<float> positions;  // 3 per vertex
    std::vector<float> normals;    // 3 per vertex, or none: computed from the triangles
    std::vector<float> texCoords;  // 2 per vertex, or none: all 0
    // Counter-clockwise seen from the front, as glTF draws them, also under a mirroring node.
    std::vector<std::array<std::uint32_t, 3>> triangles;
    std::vector<TGltfMorphTarget> targets;
    // `influences` joints and weights per vertex (4 per JOINTS_n/WEIGHTS_n pair); the joints
    // are indices into the skin's joint list.
    std::size_t influences = 0;
    std::vector<std::uint32_t> joints;
    std::vector<float> weights;

    std::size_t VertexCount() const { return positions.size() / 3; }
};

struct TGltfSkin {
    std::string name;
    std::vector<int> joints;                // nodes
    std::vector<TGltfMatrix> inverseBinds;  // one per joint
};

// Every skin of the file, checked: joints that exist, one inverse bind matrix per joint.
std::vector<TGltfSkin> ReadGltfSkins(const tinygltf::Model& model);

// Every primitive drawn by a node of the scene, in the scene's node order. Throws TGltfRefusal
// for points and lines (no triangles to make of them), attributes whose counts disagree,
// indices past the vertices, joints past their skin and anything the accessor reader refuses.
std::vector<TGltfPrimitive> ReadGltfPrimitives(const tinygltf::Model& model,
                                               const TGltfScene& scene,
                                               const std::vector<TGltfSkin>& skins);

// Positions and normals of a primitive at one moment, in the file's world coordinates: morph
// targets blended with the node's weights, then skinned by its joints or placed by its node.
struct TGltfPosedPrimitive {
    std::vector<TGltfPoint> positions;
    std::vector<TGltfPoint> normals;  // unit length
};

// The primitive's own normals, or for one without them area-weighted corner normals of its
// triangles as they stand in the file; 3 per vertex.
// Refuses (TGltfRefusal) primitives whose vertices over `frames` frames pass `budget`, naming
// `what` ("an MD3 import"): every frame is held decoded.
void CheckGltfVertexFrames(const std::vector<TGltfPrimitive>& primitives, std::size_t frames,
                           std::size_t budget, const std::string& what);

std::vector<float> GltfRestNormals(const TGltfPrimitive& primitive);

void PoseGltfPrimitive(const TGltfPrimitive& primitive, const std::vector<TGltfSkin>& skins,
                       const std::vector<TGltfNodePose>& poses,
                       const std::vector<TGltfMatrix>& world, TGltfPosedPrimitive& posed);
