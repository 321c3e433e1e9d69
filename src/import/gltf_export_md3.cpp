// MD3 and MDC models in an export: surfaces as meshes with their frames as morph targets,
// tags as nodes that move with the frames.
#include <cstddef>

#include "import/gltf_accessors.h"
#include "import/gltf_export.h"
#include "import/gltf_export_channels.h"

namespace {

std::size_t Count(std::int32_t n) {
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool SurfaceHoldsFrames(const TSurface& s, std::uint32_t frames) {
    return Count(s.numVerts) > 0 && Count(s.numTriangles) > 0 &&
           s.vertices.size() >= Count(s.numVerts) * frames &&
           s.texCoords.size() >= Count(s.numVerts) && s.triangles.size() >= Count(s.numTriangles);
}

TVector3 PositionOf(const TMD3Vertex& v) {
    return GltfFromGame({v.x * kMD3XyzScale, v.y * kMD3XyzScale, v.z * kMD3XyzScale});
}

TVector3 NormalOf(const TMD3Vertex& v) {
    return GltfFromGame(DecodeNormal(v.normal));
}

TGameFrame TagFrame(const TMD3Tag& tag) {
    return {tag.origin, {tag.axis[0], tag.axis[1], tag.axis[2]}};
}

std::string ShaderName(const TSurface& s) {
    return s.shaders.empty() ? NameFieldText(s.name) : NameFieldText(s.shaders[0].name);
}

}  // namespace

std::vector<int> TGltfExport::AddMD3Surfaces(const TMD3& model, std::uint32_t first,
                                             std::uint32_t last,
                                             const std::vector<TGltfMaterial>& materials,
                                             int parent) {
    std::vector<int> nodes;
    const std::size_t targets = last - first;
    for (std::size_t si = 0; si < model.header.surfaces.size(); ++si) {
        const TSurface& s = model.header.surfaces[si];
        if (!SurfaceHoldsFrames(s, last + 1)) continue;
        const std::size_t verts = Count(s.numVerts);
        const TMD3Vertex* base = s.vertices.data() + first * verts;
        std::vector<TVector3> positions(verts), normals(verts);
        for (std::size_t v = 0; v < verts; ++v) {
            positions[v] = PositionOf(base[v]);
            normals[v] = NormalOf(base[v]);
        }
        // The file's t, not the flipped one the program keeps: glTF's pictures, like the
        // game's, start at the top row.
        std::vector<TMD3TexCoord> fileTexCoords;
        FileTexCoords(s, fileTexCoords);
        std::vector<std::array<float, 2>> uv(verts);
        for (std::size_t v = 0; v < verts; ++v)
            uv[v] = {fileTexCoords[v].s, fileTexCoords[v].t};
        // The game's front faces wind clockwise; glTF's wind counter-clockwise.
        std::vector<std::uint32_t> indices;
        indices.reserve(Count(s.numTriangles) * 3);
        for (std::size_t t = 0; t < Count(s.numTriangles); ++t) {
            const std::int32_t* idx = s.triangles[t].indexes;
            for (int k : {2, 1, 0}) {
                const std::int32_t i = idx[k];
                indices.push_back(i >= 0 && static_cast<std::size_t>(i) < verts
                                      ? static_cast<std::uint32_t>(i)
                                      : 0);
            }
        }

        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.attributes["POSITION"] = AddGltfVec3Accessor(model_, positions, true);
        primitive.attributes["NORMAL"] = AddGltfVec3Accessor(model_, normals, false);
        primitive.attributes["TEXCOORD_0"] = AddGltfVec2Accessor(model_, uv);
        primitive.indices = AddGltfIndexAccessor(model_, indices);
        primitive.material = MaterialFor(materials, si, ShaderName(s));
        std::vector<TVector3> delta(verts), normalDelta(verts);
        for (std::size_t f = first + 1; f <= last; ++f) {
            const TMD3Vertex* frame = s.vertices.data() + f * verts;
            for (std::size_t v = 0; v < verts; ++v) {
                delta[v] = VectorSubtract(PositionOf(frame[v]), positions[v]);
                normalDelta[v] = VectorSubtract(NormalOf(frame[v]), normals[v]);
            }
            primitive.targets.push_back(
                {{"POSITION", AddGltfVec3Accessor(model_, delta, true)},
                 {"NORMAL", AddGltfVec3Accessor(model_, normalDelta, false)}});
        }
        tinygltf::Mesh mesh;
        mesh.name = NameFieldText(s.name);
        mesh.primitives.push_back(std::move(primitive));
        mesh.weights.assign(targets, 0.0);
        model_.meshes.push_back(std::move(mesh));

        tinygltf::Node node;
        node.name = NameFieldText(s.name);
        node.mesh = static_cast<int>(model_.meshes.size()) - 1;
        nodes.push_back(AddNode(std::move(node), parent));
    }
    return nodes;
}

int TGltfExport::AddMD3(const TMD3& model, std::uint32_t first, std::uint32_t last, double fps,
                        const std::vector<TGltfMaterial>& materials, const std::string& clipName) {
    const std::size_t frames = Count(model.header.numFrames);
    if (first > last || last >= frames || model.header.frames.size() < frames) return -1;
    tinygltf::Node root;
    root.name = NameFieldText(model.header.name);
    const int rootNode = AddNode(std::move(root), -1);
    const std::vector<int> surfaceNodes = AddMD3Surfaces(model, first, last, materials, rootNode);

    const std::size_t tagCount = Count(model.header.numTags);
    const bool tagsComplete = model.header.tags.size() >= tagCount * frames;
    const std::size_t played = last - first + 1;
    tinygltf::Animation animation;
    animation.name = clipName;
    const int times = played > 1 ? AddGltfFrameTimes(model_, played, fps) : -1;
    if (played > 1 && !surfaceNodes.empty()) {
        // Frame k shows morph target k - 1 alone; frame `first` none of them.
        const std::size_t targets = played - 1;
        std::vector<float> weights(played * targets, 0.0f);
        for (std::size_t k = 1; k < played; ++k)
            weights[k * targets + (k - 1)] = 1.0f;
        const int values = AddGltfScalarAccessor(model_, weights, false);
        for (int node : surfaceNodes)
            AddGltfChannel(animation, node, "weights", times, values);
    }
    for (std::size_t t = 0; tagsComplete && t < tagCount; ++t) {
        std::vector<TVector3> translations;
        std::vector<std::array<float, 4>> rotations;
        for (std::size_t f = first; f <= last; ++f) {
            const TGameFrame frame = TagFrame(model.header.tags[f * tagCount + t]);
            translations.push_back(GltfFromGame(frame.origin));
            const TGltfQuaternion q = GltfRotationFromGame(frame.axis);
            rotations.push_back({static_cast<float>(q[0]), static_cast<float>(q[1]),
                                 static_cast<float>(q[2]), static_cast<float>(q[3])});
        }
        KeepHemisphere(rotations);
        const TMD3Tag& tag = model.header.tags[first * tagCount + t];
        tinygltf::Node node;
        node.name = NameFieldText(tag.name);
        const TGameFrame start = TagFrame(tag);
        SetNodeTransform(node, translations[0], GltfRotationFromGame(start.axis));
        const int tagNode = AddNode(std::move(node), rootNode);
        RememberTag(NameFieldText(tag.name), tagNode);
        if (played > 1) {
            AddGltfChannel(animation, tagNode, "translation", times,
                           AddGltfVec3Accessor(model_, translations, false, 0));
            AddGltfChannel(animation, tagNode, "rotation", times,
                           AddGltfVec4Accessor(model_, rotations, 0));
        }
    }
    if (!animation.channels.empty()) model_.animations.push_back(std::move(animation));
    return rootNode;
}

int TGltfExport::AttachMD3(const TMD3& model, int tagNode,
                           const std::vector<TGltfMaterial>& materials, const std::string& name) {
    if (model.header.numFrames < 1 || model.header.frames.empty()) return -1;
    tinygltf::Node root;
    root.name = name;
    const int rootNode = AddNode(std::move(root), tagNode);
    AddMD3Surfaces(model, 0, 0, materials, rootNode);
    const std::size_t tagCount = Count(model.header.numTags);
    for (std::size_t t = 0; t < tagCount && t < model.header.tags.size(); ++t) {
        const TMD3Tag& tag = model.header.tags[t];
        tinygltf::Node node;
        node.name = NameFieldText(tag.name);
        const TGameFrame frame = TagFrame(tag);
        SetNodeTransform(node, GltfFromGame(frame.origin), GltfRotationFromGame(frame.axis));
        RememberTag(NameFieldText(tag.name), AddNode(std::move(node), rootNode));
    }
    return rootNode;
}
