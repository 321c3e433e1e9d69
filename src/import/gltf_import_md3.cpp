// glTF to MD3: every primitive a surface, every sampled moment a frame, tag_* nodes tags.
#include <algorithm>
#include <cstring>

#include "check/engine_limits.h"
#include "import/gltf_import.h"
#include "import/gltf_import_axes.h"
#include "import/gltf_import_error.h"
#include "import/gltf_import_frames.h"
#include "import/gltf_import_materials.h"
#include "import/gltf_import_mesh.h"
#include "import/gltf_library.h"
#include "import/import_bounds.h"
#include "import/surface_limits.h"
#include "md3/md3.h"

namespace {

constexpr const char* kModelName = "K_Converted_From_glTF";
constexpr const char* kFrameName = "K glTF Convert";
// Vertices times frames past this would take more memory than a model of the game needs.
constexpr std::size_t kMaxVertexFrames = std::size_t{1} << 25;

std::string LimitText(const TSurface& s, TSurfaceLimit limit) {
    const std::string name = NameFieldText(s.name);
    if (limit == TSurfaceLimit::Vertices)
        return "MAX_VERTS limit exceeded: " + std::to_string(s.numVerts) + " > " +
               std::to_string(kMD3MaxVerts) +
               "\r\nToo many vertices in one mesh..\r\nMesh: " + name;
    return "MAX_TRIANGLES limit exceeded: " + std::to_string(s.numTriangles) + " > " +
           std::to_string(kMD3MaxTriangles) +
           "\r\nToo many triangles in one mesh..\r\nMesh: " + name;
}

// One primitive's vertices in game coordinates, frame-major, before the bounds are fitted.
struct TGameMesh {
    std::vector<TVector3> positions;  // frames x vertices
    std::vector<TVector3> normals;
};

// The surface limits are checked and split on one frame; every vertex carries its surface and
// its index there through the split so that the other frames can follow it.
TSurface Carrier(const TSurface& s, std::size_t surfaceIndex) {
    TSurface carrier = s;
    carrier.numFrames = 1;
    carrier.vertices.resize(static_cast<std::size_t>(s.numVerts));
    for (std::size_t v = 0; v < carrier.vertices.size(); ++v)
        carrier.vertices[v] = {static_cast<std::int16_t>(v & 0xFFFF),
                               static_cast<std::int16_t>(v >> 16),
                               static_cast<std::int16_t>(surfaceIndex), 0};
    return carrier;
}

TSurface FromCarrier(const TSurface& piece, const std::vector<TSurface>& surfaces,
                     std::size_t frames) {
    TSurface out = piece;
    if (piece.vertices.empty()) return out;
    const TSurface& whole = surfaces[static_cast<std::uint16_t>(piece.vertices[0].z)];
    const std::size_t wholeVerts = static_cast<std::size_t>(whole.numVerts);
    const std::size_t verts = piece.vertices.size();
    out.numFrames = static_cast<std::int32_t>(frames);
    out.vertices.resize(verts * frames);
    for (std::size_t v = 0; v < verts; ++v) {
        const std::size_t from =
            static_cast<std::uint16_t>(piece.vertices[v].x) |
            static_cast<std::size_t>(static_cast<std::uint16_t>(piece.vertices[v].y)) << 16;
        for (std::size_t f = 0; f < frames; ++f)
            out.vertices[f * verts + v] = whole.vertices[f * wholeVerts + from];
    }
    return out;
}

}  // namespace

bool TGltfImport::ConvertGltfToMD3(TMD3& model, UserPrompts& prompts, std::string& message) {
    message.clear();
    skippedText_.clear();
    limitExceeded_ = false;
    model.Clear();
    const TImportSettings& settings = choice.settings;
    std::vector<TGltfPrimitive> primitives;
    std::vector<TGltfSkin> skins;
    std::vector<TGameMesh> meshes;  // per primitive
    std::vector<int> tagNodes;
    std::vector<TMD3Tag> tags;  // frames x tags
    TGltfFrames frames;
    try {
        const TGltfScene scene(*model_);
        skins = ReadGltfSkins(*model_);
        primitives = ReadGltfPrimitives(*model_, scene, skins);
        frames = ChooseGltfFrames(*model_, choice,
                                  static_cast<std::size_t>(LimitsOf(TEngine::ET).md3Frames),
                                  "an MD3 model in the game");
        CheckGltfVertexFrames(primitives, frames.times.size(), kMaxVertexFrames, "an MD3 import");
        for (int node : scene.Nodes())
            if (model_->nodes[static_cast<std::size_t>(node)].name.starts_with("tag_"))
                tagNodes.push_back(node);
        meshes.resize(primitives.size());
        std::vector<TGltfMatrix> world;
        TGltfPosedPrimitive posed;
        for (std::size_t f = 0; f < frames.times.size(); ++f) {
            const std::vector<TGltfNodePose> poses = frames.Poses(scene, f);
            scene.WorldMatrices(poses, world);
            for (std::size_t p = 0; p < primitives.size(); ++p) {
                PoseGltfPrimitive(primitives[p], skins, poses, world, posed);
                TGameMesh& mesh = meshes[p];
                for (std::size_t v = 0; v < posed.positions.size(); ++v) {
                    mesh.positions.push_back(GameFromGltf(posed.positions[v]) * settings.scale);
                    mesh.normals.push_back(GameFromGltf(posed.normals[v]));
                }
            }
            for (int node : tagNodes) {
                TMD3Tag tag =
                    GameTagFromGltf(world[static_cast<std::size_t>(node)], settings.scale);
                SetName64(model_->nodes[static_cast<std::size_t>(node)].name, tag.name);
                tags.push_back(tag);
            }
        }
    } catch (const TGltfRefusal& refusal) {
        model.Clear();
        message = refusal.what();
        return false;
    }

    TImportBounds range;
    for (const auto& mesh : meshes)
        for (TVector3 p : mesh.positions)
            if (IsFinite(p)) range.Add(p);
    for (const TMD3Tag& tag : tags)
        if (IsFinite(tag.origin)) range.Add(tag.origin);
    float k = 1.0f;
    if (!AskScaleToFit(range, prompts, k)) {
        model.Clear();
        message = kGltfOutOfBoundsText;
        return false;
    }
    if (k != 1.0f) message = kGltfScaledText;

    const std::size_t frameCount = frames.times.size();
    TTriangleSkips faults;
    std::int64_t emptyMeshes = 0;
    std::vector<TSurface> surfaces;
    std::vector<TImportBounds> frameBounds(frameCount);
    for (std::size_t p = 0; p < primitives.size(); ++p) {
        const TGltfPrimitive& primitive = primitives[p];
        const TGameMesh& mesh = meshes[p];
        const std::size_t verts = primitive.VertexCount();
        const auto at = [&](std::size_t f, std::uint32_t v) {
            return mesh.positions[f * verts + v] * k;
        };
        // A triangle is kept when any frame draws it: a morph may grow it from nothing.
        std::vector<std::array<std::uint32_t, 3>> kept;
        for (const auto& t : primitive.triangles) {
            TTriangleSkips probe;
            bool keep = false;
            for (std::size_t f = 0; f < frameCount && !keep; ++f) {
                const TVector3 corners[3] = {at(f, t[0]), at(f, t[1]), at(f, t[2])};
                keep = probe.Keep(corners);
            }
            if (keep) {
                kept.push_back(t);
            } else if (probe.notFinite > 0) {
                ++faults.notFinite;
            } else {
                ++faults.collapsed;
            }
        }
        if (kept.empty()) {
            ++emptyMeshes;
            continue;
        }
        // Only the vertices the kept triangles use, in the file's order, so that a model that
        // went out to glTF comes back with its vertices where they were.
        std::vector<std::int32_t> newIndex(verts, -1);
        for (const auto& t : kept)
            for (std::uint32_t v : t)
                newIndex[v] = 0;
        std::vector<std::uint32_t> used;
        for (std::size_t v = 0; v < verts; ++v) {
            if (newIndex[v] < 0) continue;
            newIndex[v] = static_cast<std::int32_t>(used.size());
            used.push_back(static_cast<std::uint32_t>(v));
        }
        TSurface s = NewConvertedSurface(
            primitive.name, GltfShaderName(*model_, primitive.material, settings.shaderPrefix));
        for (const auto& t : kept) {
            TMD3Triangle triangle;
            for (int j = 0; j < 3; ++j)
                triangle.indexes[j] = newIndex[t[static_cast<std::size_t>(j)]];
            s.triangles.push_back(triangle);
        }
        for (std::size_t f = 0; f < frameCount; ++f) {
            for (std::uint32_t v : used) {
                const float u = primitive.texCoords.empty() ? 0.0f : primitive.texCoords[2 * v];
                const float t = primitive.texCoords.empty() ? 0.0f : primitive.texCoords[2 * v + 1];
                // glTF's v runs down the image as the file's t does.
                AddConvertedCorner(s, at(f, v), TMD3::EncodeNormal(mesh.normals[f * verts + v]), u,
                                   t, frameBounds[f]);
            }
        }
        // AddConvertedCorner gave every frame its texture coordinates; one row is the surface's.
        s.texCoords.resize(used.size());
        s.numFrames = static_cast<std::int32_t>(frameCount);
        CloseConvertedSurface(s);
        surfaces.push_back(std::move(s));
    }
    meshes.clear();

    TImportReport report;
    faults.Report(report);
    report.Count(emptyMeshes, "mesh", "meshes", "without triangles left out");
    skippedText_ = report.Text();
    if (surfaces.empty() && tagNodes.empty()) {
        model.Clear();
        message = "no triangles to convert" +
                  (skippedText_.empty() ? std::string() : " (" + skippedText_ + ")");
        return false;
    }

    std::vector<TSurface> carriers;
    for (std::size_t i = 0; i < surfaces.size(); ++i)
        carriers.push_back(Carrier(surfaces[i], i));
    const TLimitTexts texts{LimitText, "Too many meshes used.."};
    if (!FitSurfaceLimits(carriers, kMD3MaxVerts, texts, &prompts, message)) {
        model.Clear();
        limitExceeded_ = true;
        return false;
    }
    for (const TSurface& piece : carriers)
        model.header.surfaces.push_back(FromCarrier(piece, surfaces, frameCount));

    for (TMD3Tag& tag : tags)
        tag.origin = tag.origin * k;
    model.header.tags = std::move(tags);
    FinishConvertedModel(model, kModelName, frameBounds[0], kFrameName);
    THeader& h = model.header;
    h.numFrames = static_cast<std::int32_t>(frameCount);
    h.numTags = static_cast<std::int32_t>(tagNodes.size());
    const TMD3Frame named = h.frames[0];
    h.frames.resize(frameCount);
    for (std::size_t f = 0; f < frameCount; ++f) {
        TMD3Frame& frame = h.frames[f];
        frame = named;
        if (!frameBounds[f].empty) {
            frame.minBounds = frameBounds[f].min;
            frame.maxBounds = frameBounds[f].max;
        }
        frame.localOrigin = (frame.minBounds + frame.maxBounds) * 0.5f;
        frame.radius = VectorLength(frame.maxBounds - frame.minBounds) * 0.5f;
    }
    model.ReverseWinding();
    return true;
}
