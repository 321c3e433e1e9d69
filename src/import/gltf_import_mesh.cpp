#include "import/gltf_import_mesh.h"

#include <cmath>

#include "import/gltf_import_accessors.h"
#include "import/gltf_import_error.h"
#include "import/gltf_library.h"

namespace {

// The most JOINTS_n/WEIGHTS_n pairs a vertex may have; more influences than this on one
// vertex is no model anyone animates.
constexpr int kMaxInfluenceSets = 8;

int Attribute(const tinygltf::Primitive& p, const std::string& name) {
    const auto found = p.attributes.find(name);
    return found == p.attributes.end() ? -1 : found->second;
}

std::string MeshName(const tinygltf::Model& model, const tinygltf::Node& node, int nodeIndex) {
    const tinygltf::Mesh& mesh = model.meshes[static_cast<std::size_t>(node.mesh)];
    if (!mesh.name.empty()) return mesh.name;
    if (!node.name.empty()) return node.name;
    return "mesh_" + std::to_string(nodeIndex);
}

// The triangles of a primitive's corner list: a list, strip or fan; CCW order.
std::vector<std::array<std::uint32_t, 3>> Triangles(int mode,
                                                    const std::vector<std::uint32_t>& corners,
                                                    const std::string& what) {
    std::vector<std::array<std::uint32_t, 3>> triangles;
    const std::size_t n = corners.size();
    switch (mode) {
        case TINYGLTF_MODE_TRIANGLES:
            for (std::size_t i = 0; i + 2 < n; i += 3)
                triangles.push_back({corners[i], corners[i + 1], corners[i + 2]});
            break;
        case TINYGLTF_MODE_TRIANGLE_STRIP:
            // Every other triangle of a strip is wound the other way round.
            for (std::size_t i = 0; i + 2 < n; ++i)
                triangles.push_back(i % 2 == 0
                                        ? std::array{corners[i], corners[i + 1], corners[i + 2]}
                                        : std::array{corners[i], corners[i + 2], corners[i + 1]});
            break;
        case TINYGLTF_MODE_TRIANGLE_FAN:
            for (std::size_t i = 1; i + 1 < n; ++i)
                triangles.push_back({corners[i], corners[i + 1], corners[0]});
            break;
        case TINYGLTF_MODE_POINTS:
            throw TGltfRefusal(what + " is drawn as points, which make no triangles");
        case TINYGLTF_MODE_LINE:
        case TINYGLTF_MODE_LINE_LOOP:
        case TINYGLTF_MODE_LINE_STRIP:
            throw TGltfRefusal(what + " is drawn as lines, which make no triangles");
        default:
            throw TGltfRefusal(what + " has an unknown drawing mode " + std::to_string(mode));
    }
    return triangles;
}

void CheckCount(const std::vector<float>& values, std::size_t perVertex, std::size_t vertices,
                const std::string& what) {
    if (values.size() != perVertex * vertices)
        throw TGltfRefusal(what + " has " + std::to_string(values.size() / perVertex) +
                           " elements for " + std::to_string(vertices) + " vertices");
}

void ReadInfluences(const tinygltf::Model& model, const tinygltf::Primitive& p,
                    const TGltfSkin& skin, std::size_t vertices, const std::string& what,
                    TGltfPrimitive& out) {
    int sets = 0;
    while (sets < kMaxInfluenceSets && Attribute(p, "JOINTS_" + std::to_string(sets)) >= 0 &&
           Attribute(p, "WEIGHTS_" + std::to_string(sets)) >= 0)
        ++sets;
    out.influences = static_cast<std::size_t>(sets) * 4;
    out.joints.assign(vertices * out.influences, 0);
    out.weights.assign(vertices * out.influences, 0.0f);
    for (int set = 0; set < sets; ++set) {
        const std::string n = std::to_string(set);
        const std::vector<std::uint32_t> joints =
            ReadGltfUnsigned(model, Attribute(p, "JOINTS_" + n), 4, what + " JOINTS_" + n);
        const std::vector<float> weights =
            ReadGltfFloats(model, Attribute(p, "WEIGHTS_" + n), 4, what + " WEIGHTS_" + n);
        if (joints.size() != vertices * 4 || weights.size() != vertices * 4)
            throw TGltfRefusal(what + ": joints or weights set " + n +
                               " does not have one element per vertex");
        for (std::size_t v = 0; v < vertices; ++v)
            for (std::size_t k = 0; k < 4; ++k) {
                const std::size_t at = v * out.influences + static_cast<std::size_t>(set) * 4 + k;
                const std::uint32_t joint = joints[v * 4 + k];
                const float weight = weights[v * 4 + k];
                if (weight < 0) throw TGltfRefusal(what + ": a joint weight is negative");
                if (weight > 0 && joint >= skin.joints.size())
                    throw TGltfRefusal(what + " names joint " + std::to_string(joint) +
                                       " of a skin with " + std::to_string(skin.joints.size()));
                out.joints[at] = weight > 0 ? joint : 0;
                out.weights[at] = weight;
            }
    }
}

TGltfPrimitive ReadPrimitive(const tinygltf::Model& model, const tinygltf::Primitive& p, int node,
                             const std::vector<TGltfSkin>& skins, const std::string& name) {
    const std::string what = "mesh \"" + name + "\"";
    TGltfPrimitive out;
    out.node = node;
    out.name = name;
    out.material = p.material;
    const tinygltf::Node& n = model.nodes[static_cast<std::size_t>(node)];
    if (n.skin >= 0) {
        if (static_cast<std::size_t>(n.skin) >= skins.size())
            throw TGltfRefusal("node " + std::to_string(node) + " names skin " +
                               std::to_string(n.skin) + ", which does not exist");
        out.skin = n.skin;
    }
    const int mode = p.mode < 0 ? TINYGLTF_MODE_TRIANGLES : p.mode;
    // Refused before anything is read, so that the reason is the drawing mode.
    Triangles(mode, {}, what);
    out.positions = ReadGltfFloats(model, Attribute(p, "POSITION"), 3, what + " POSITION");
    const std::size_t vertices = out.VertexCount();
    if (const int a = Attribute(p, "NORMAL"); a >= 0) {
        out.normals = ReadGltfFloats(model, a, 3, what + " NORMAL");
        CheckCount(out.normals, 3, vertices, what + " NORMAL");
    }
    if (const int a = Attribute(p, "TEXCOORD_0"); a >= 0) {
        out.texCoords = ReadGltfFloats(model, a, 2, what + " TEXCOORD_0");
        CheckCount(out.texCoords, 2, vertices, what + " TEXCOORD_0");
    }
    for (std::size_t t = 0; t < p.targets.size(); ++t) {
        const std::string target = what + " morph target " + std::to_string(t);
        TGltfMorphTarget morph;
        const auto position = p.targets[t].find("POSITION");
        if (position != p.targets[t].end()) {
            morph.positions = ReadGltfFloats(model, position->second, 3, target);
            CheckCount(morph.positions, 3, vertices, target);
        }
        const auto normal = p.targets[t].find("NORMAL");
        if (normal != p.targets[t].end() && !out.normals.empty()) {
            morph.normals = ReadGltfFloats(model, normal->second, 3, target);
            CheckCount(morph.normals, 3, vertices, target);
        }
        out.targets.push_back(std::move(morph));
    }
    if (out.skin >= 0)
        ReadInfluences(model, p, skins[static_cast<std::size_t>(out.skin)], vertices, what, out);
    std::vector<std::uint32_t> corners;
    if (p.indices >= 0) {
        corners = ReadGltfUnsigned(model, p.indices, 1, what + " indices");
        for (std::uint32_t index : corners)
            if (index >= vertices)
                throw TGltfRefusal(what + ": index " + std::to_string(index) + " past its " +
                                   std::to_string(vertices) + " vertices");
    } else {
        corners.resize(vertices);
        for (std::size_t i = 0; i < vertices; ++i)
            corners[i] = static_cast<std::uint32_t>(i);
    }
    out.triangles = Triangles(mode, corners, what);
    return out;
}

TGltfPoint Normalize(TGltfPoint v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0)
        for (double& c : v)
            c /= length;
    return v;
}

// Area-weighted corner normals, for a primitive that brings none.
void ComputeNormals(const TGltfPrimitive& primitive, TGltfPosedPrimitive& posed) {
    posed.normals.assign(posed.positions.size(), TGltfPoint{0, 0, 0});
    for (const auto& t : primitive.triangles) {
        const TGltfPoint& a = posed.positions[t[0]];
        const TGltfPoint& b = posed.positions[t[1]];
        const TGltfPoint& c = posed.positions[t[2]];
        const TGltfPoint u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const TGltfPoint v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const TGltfPoint n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                           u[0] * v[1] - u[1] * v[0]};
        for (std::uint32_t corner : t)
            for (std::size_t k = 0; k < 3; ++k)
                posed.normals[corner][k] += n[k];
    }
    for (TGltfPoint& n : posed.normals)
        n = Normalize(n);
}

}  // namespace

std::vector<float> GltfRestNormals(const TGltfPrimitive& primitive) {
    if (!primitive.normals.empty()) return primitive.normals;
    TGltfPosedPrimitive rest;
    for (std::size_t v = 0; v < primitive.VertexCount(); ++v)
        rest.positions.push_back({primitive.positions[3 * v], primitive.positions[3 * v + 1],
                                  primitive.positions[3 * v + 2]});
    ComputeNormals(primitive, rest);
    std::vector<float> normals;
    for (const TGltfPoint& n : rest.normals)
        normals.insert(normals.end(), {static_cast<float>(n[0]), static_cast<float>(n[1]),
                                       static_cast<float>(n[2])});
    return normals;
}

std::vector<TGltfSkin> ReadGltfSkins(const tinygltf::Model& model) {
    std::vector<TGltfSkin> skins;
    for (std::size_t s = 0; s < model.skins.size(); ++s) {
        const tinygltf::Skin& skin = model.skins[s];
        const std::string what = "skin " + std::to_string(s);
        TGltfSkin out;
        out.name = skin.name;
        out.joints = skin.joints;
        for (int joint : out.joints)
            if (joint < 0 || static_cast<std::size_t>(joint) >= model.nodes.size())
                throw TGltfRefusal(what + " names joint node " + std::to_string(joint) +
                                   ", which does not exist");
        out.inverseBinds.resize(out.joints.size());
        if (skin.inverseBindMatrices >= 0) {
            const std::vector<float> m =
                ReadGltfFloats(model, skin.inverseBindMatrices, 16, what + " inverse binds");
            if (m.size() < out.joints.size() * 16)
                throw TGltfRefusal(what + " has fewer inverse bind matrices than joints");
            for (std::size_t j = 0; j < out.joints.size(); ++j)
                for (std::size_t i = 0; i < 16; ++i)
                    out.inverseBinds[j].m[i] = m[j * 16 + i];
        }
        skins.push_back(std::move(out));
    }
    return skins;
}

std::vector<TGltfPrimitive> ReadGltfPrimitives(const tinygltf::Model& model,
                                               const TGltfScene& scene,
                                               const std::vector<TGltfSkin>& skins) {
    std::vector<TGltfPrimitive> primitives;
    std::vector<TGltfMatrix> world;
    scene.WorldMatrices(scene.RestPoses(), world);
    for (int node : scene.Nodes()) {
        const tinygltf::Node& n = model.nodes[static_cast<std::size_t>(node)];
        if (n.mesh < 0) continue;
        if (static_cast<std::size_t>(n.mesh) >= model.meshes.size())
            throw TGltfRefusal("node " + std::to_string(node) + " names mesh " +
                               std::to_string(n.mesh) + ", which does not exist");
        const tinygltf::Mesh& mesh = model.meshes[static_cast<std::size_t>(n.mesh)];
        const std::string base = MeshName(model, n, node);
        for (std::size_t p = 0; p < mesh.primitives.size(); ++p) {
            const std::string name = p == 0 ? base : base + "_" + std::to_string(p + 1);
            TGltfPrimitive primitive = ReadPrimitive(model, mesh.primitives[p], node, skins, name);
            // A mirroring node turns the front faces round; skinned vertices do not follow
            // their node.
            if (primitive.skin < 0 && Determinant3(world[static_cast<std::size_t>(node)]) < 0)
                for (auto& t : primitive.triangles)
                    std::swap(t[1], t[2]);
            primitives.push_back(std::move(primitive));
        }
    }
    return primitives;
}

void PoseGltfPrimitive(const TGltfPrimitive& primitive, const std::vector<TGltfSkin>& skins,
                       const std::vector<TGltfNodePose>& poses,
                       const std::vector<TGltfMatrix>& world, TGltfPosedPrimitive& posed) {
    const std::size_t vertices = primitive.VertexCount();
    const std::vector<double>& morph = poses[static_cast<std::size_t>(primitive.node)].weights;
    const bool hasNormals = !primitive.normals.empty();
    posed.positions.resize(vertices);
    posed.normals.resize(vertices);
    // The vertices as the morph targets leave them, before any node or joint moves them.
    for (std::size_t v = 0; v < vertices; ++v) {
        TGltfPoint p{primitive.positions[3 * v], primitive.positions[3 * v + 1],
                     primitive.positions[3 * v + 2]};
        TGltfPoint n{0, 0, 0};
        if (hasNormals)
            n = {primitive.normals[3 * v], primitive.normals[3 * v + 1],
                 primitive.normals[3 * v + 2]};
        for (std::size_t t = 0; t < primitive.targets.size() && t < morph.size(); ++t) {
            const TGltfMorphTarget& target = primitive.targets[t];
            for (std::size_t k = 0; k < 3; ++k) {
                if (!target.positions.empty()) p[k] += morph[t] * target.positions[3 * v + k];
                if (!target.normals.empty()) n[k] += morph[t] * target.normals[3 * v + k];
            }
        }
        posed.positions[v] = p;
        posed.normals[v] = n;
    }
    const TGltfSkin* skin =
        primitive.skin >= 0 ? &skins[static_cast<std::size_t>(primitive.skin)] : nullptr;
    const TGltfMatrix& placement = world[static_cast<std::size_t>(primitive.node)];
    std::vector<TGltfMatrix> jointMatrices, jointNormals;
    if (skin != nullptr) {
        for (std::size_t j = 0; j < skin->joints.size(); ++j) {
            jointMatrices.push_back(world[static_cast<std::size_t>(skin->joints[j])] *
                                    skin->inverseBinds[j]);
            jointNormals.push_back(NormalMatrix(jointMatrices.back()));
        }
    }
    const TGltfMatrix placementNormals = NormalMatrix(placement);
    for (std::size_t v = 0; v < vertices; ++v) {
        const TGltfPoint p = posed.positions[v], n = posed.normals[v];
        double total = 0;
        TGltfPoint sumP{0, 0, 0}, sumN{0, 0, 0};
        for (std::size_t k = 0; skin != nullptr && k < primitive.influences; ++k) {
            const float w = primitive.weights[v * primitive.influences + k];
            if (w <= 0) continue;
            const std::uint32_t j = primitive.joints[v * primitive.influences + k];
            const TGltfPoint jp = TransformPoint(jointMatrices[j], p);
            const TGltfPoint jn = TransformDirection(jointNormals[j], n);
            for (std::size_t c = 0; c < 3; ++c) {
                sumP[c] += w * jp[c];
                sumN[c] += w * jn[c];
            }
            total += w;
        }
        if (total > 0) {
            // Weights that do not add up to one are taken in their proportions.
            for (std::size_t c = 0; c < 3; ++c) {
                posed.positions[v][c] = sumP[c] / total;
                posed.normals[v][c] = sumN[c];
            }
        } else {
            posed.positions[v] = TransformPoint(placement, p);
            posed.normals[v] = TransformDirection(placementNormals, n);
        }
        posed.normals[v] = Normalize(posed.normals[v]);
    }
    if (!hasNormals) ComputeNormals(primitive, posed);
}

void CheckGltfVertexFrames(const std::vector<TGltfPrimitive>& primitives, std::size_t frames,
                           std::size_t budget, const std::string& what) {
    std::size_t vertices = 0;
    for (const TGltfPrimitive& p : primitives)
        vertices += p.VertexCount();
    if (frames > 0 && vertices > budget / frames)
        throw TGltfRefusal(std::to_string(vertices) + " vertices in " + std::to_string(frames) +
                           " frames are more than " + what + " takes");
}
