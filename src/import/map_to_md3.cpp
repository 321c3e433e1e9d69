// TLevelMap::ConvertToMD3: the face polygons grouped by texture into MD3 surfaces.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <utility>

#include "import/import_bounds.h"
#include "import/level_map.h"
#include "import/surface_limits.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

namespace {

constexpr float kBoundsStart = 3.3e38f;
// Stored positions reach about +-512 units; the question comes before anything is cut off.
constexpr float kMD3Reach = 512.0f;
constexpr float kMD3FitTo = 511.0f;

const char* const kFrameName = "K MAP Convert";
const char* const kModelNamePrefix = "K_Converted_From_Map_";
const char* const kBoundsQuestion =
    "The model coordinates are out of the MD3-bounds.\r\nScale the model down?";
const char* const kBoundsRefused =
    "MAP-model coordinates are exceeding the MD3 bounds: -511 to 511";
const char* const kBoundsScaled = "MAP-model scaled down to fit MD3-bounds";

bool Excluded(const std::string& name) {
    return name.find("common/") != std::string::npos || name == "NULL";
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The frame name field: the text, a zero byte, spaces after it.
void SetFrameName(const char* text, char (&field)[kMD3FrameNameLength]) {
    std::size_t i = 0;
    for (; text[i] != '\0' && i < kMD3FrameNameLength; ++i)
        field[i] = text[i];
    if (i < kMD3FrameNameLength) field[i++] = '\0';
    for (; i < kMD3FrameNameLength; ++i)
        field[i] = ' ';
}

struct TSurfacePlan {
    std::string name;
    std::vector<const TMapPolygon*> polygons;
    std::vector<const TMapMesh*> meshes;
};

std::string LimitText(const TSurface& s, TSurfaceLimit limit) {
    // The shader record holds "textures/" + the name.
    const std::string name = NameFieldText(s.shaders[0].name).substr(9);
    if (limit == TSurfaceLimit::Vertices)
        return "MAX_VERTS limit exceeded: " + std::to_string(s.numVerts) + " > " +
               std::to_string(kMD3MaxVerts) +
               "\r\nToo many vetices used with the same shader/texture..\r\nShadername: " + name;
    return "MAX_TRIANGLES limit exceeded: " + std::to_string(s.numTriangles) + " > " +
           std::to_string(kMD3MaxTriangles) +
           "\r\nToo many brushes used with the same shader/texture..\r\nShadername: " + name;
}

void AddVertex(TSurface& s, TVector3 position, TVector3 normal, float vs, float vt, float factor,
               TVector3& minB, TVector3& maxB) {
    int clamped = 0;
    const TVector3 p = VectorScale(position, factor);
    TMD3Vertex out;
    out.x = StoredCoordinate(p.x, clamped);
    out.y = StoredCoordinate(p.y, clamped);
    out.z = StoredCoordinate(p.z, clamped);
    out.normal = EncodeNormal(normal);
    s.vertices.push_back(out);
    s.texCoords.push_back({vs, 1.0f - vt});
    minB = {std::min(minB.x, p.x), std::min(minB.y, p.y), std::min(minB.z, p.z)};
    maxB = {std::max(maxB.x, p.x), std::max(maxB.y, p.y), std::max(maxB.z, p.z)};
}

}  // namespace

bool TLevelMap::ConvertToMD3(TMD3& model, UserPrompts* prompts) {
    lastError_.clear();
    note_.clear();
    scaleFactor_ = 1.0f;
    limitExceeded_ = false;
    convertReport_.Clear();
    if (!loaded_) return false;

    std::vector<TSurfacePlan> plans;
    // The surface takes the form of the name met first; faces whose name differs only in
    // letter case join it (the game finds shaders without regard to case), so none is lost.
    const auto planFor = [&plans](const std::string& name) -> TSurfacePlan& {
        for (TSurfacePlan& plan : plans)
            if (SameIgnoringCase(plan.name, name)) return plan;
        return plans.emplace_back(TSurfacePlan{name, {}, {}});
    };
    std::int64_t toolFaces = 0;
    std::int64_t toolPatches = 0;
    for (const TMapPolygon& polygon : geometry_.polygons) {
        if (Excluded(polygon.textureName)) {
            ++toolFaces;
            continue;
        }
        planFor(polygon.textureName).polygons.push_back(&polygon);
    }
    for (const TMapMesh& mesh : meshes_) {
        if (Excluded(mesh.textureName)) {
            ++toolPatches;
            continue;
        }
        planFor(mesh.textureName).meshes.push_back(&mesh);
    }
    convertReport_.Count(toolFaces, "face", "faces", "with tool textures (common/, NULL) left out");
    convertReport_.Count(toolPatches, "patch", "patches",
                         "with tool textures (common/, NULL) left out");
    if (plans.empty()) {
        const std::string skipped = SkippedText();
        lastError_ = "no triangles to convert: " +
                     (skipped.empty() ? std::string("the map has no brushes or patches") : skipped);
        return false;
    }
    if (plans.size() > static_cast<std::size_t>(kMD3MaxSurfaces)) {
        lastError_ = "MAX_SURFACES limit exceeded: " + std::to_string(plans.size()) + " > " +
                     std::to_string(kMD3MaxSurfaces) + "\r\nToo many shaders/textures used..";
        limitExceeded_ = true;
        return false;
    }

    // Positions beyond the reach of the 16-bit stored values would be cut off: ask first.
    float largest = 0.0f;
    const auto widen = [&largest](TVector3 p) {
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    };
    for (const TSurfacePlan& plan : plans) {
        for (const TMapPolygon* polygon : plan.polygons)
            for (std::int32_t k = 0; k < polygon->numVertices; ++k)
                widen(geometry_.vertices[polygon->firstVertex + k].position);
        for (const TMapMesh* mesh : plan.meshes)
            for (const TMapVertex& v : mesh->vertices)
                widen(v.position);
    }
    float factor = 1.0f;
    if (largest >= kMD3Reach) {
        const PromptAnswer answer =
            prompts != nullptr
                ? prompts->Ask("Confirmation", kBoundsQuestion, PromptButtons::YesNoCancel)
                : PromptAnswer::No;
        if (answer != PromptAnswer::Yes) {
            lastError_ = kBoundsRefused;
            return false;
        }
        factor = kMD3FitTo / largest;
        note_ = kBoundsScaled;
        scaleFactor_ = factor;
    }

    TVector3 minB{kBoundsStart, kBoundsStart, kBoundsStart};
    const float inf = std::numeric_limits<float>::infinity();
    TVector3 maxB{-inf, -inf, -inf};
    std::vector<TSurface> surfaces(plans.size());
    TTriangleSkips skips;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const TSurfacePlan& plan = plans[i];
        TSurface& s = surfaces[i];
        std::copy(std::begin(kMD3Ident), std::end(kMD3Ident), s.ident);
        SetName64("surface" + std::to_string(i), s.name);
        s.flags = 0;
        s.numFrames = 1;
        s.numShaders = 1;
        s.shaders.resize(1);
        SetName64("textures/" + plan.name, s.shaders[0].name);
        s.shaders[0].shaderIndex = 0;
        // Triangles that fall onto one line on the grid draw nothing: left out, and so are the
        // corners of a polygon or patch left without triangles.
        const auto addTriangle = [&s, &skips](std::int32_t a, std::int32_t b, std::int32_t c) {
            const auto& v = s.vertices;
            if (skips.KeepStored(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)],
                                 v[static_cast<std::size_t>(c)]))
                s.triangles.push_back({{a, b, c}});
        };
        // The bounds take a polygon's or patch's corners only when it keeps a triangle.
        TVector3 pieceMin, pieceMax;
        const auto startPiece = [&pieceMin, &pieceMax, inf] {
            pieceMin = {inf, inf, inf};
            pieceMax = {-inf, -inf, -inf};
        };
        const auto endPiece = [&](std::int32_t c0, std::size_t trianglesBefore) {
            if (s.triangles.size() == trianglesBefore) {
                s.vertices.resize(static_cast<std::size_t>(c0));
                s.texCoords.resize(static_cast<std::size_t>(c0));
                return;
            }
            minB = {std::min(minB.x, pieceMin.x), std::min(minB.y, pieceMin.y),
                    std::min(minB.z, pieceMin.z)};
            maxB = {std::max(maxB.x, pieceMax.x), std::max(maxB.y, pieceMax.y),
                    std::max(maxB.z, pieceMax.z)};
        };
        for (const TMapPolygon* polygon : plan.polygons) {
            const auto c0 = static_cast<std::int32_t>(s.vertices.size());
            const std::size_t trianglesBefore = s.triangles.size();
            startPiece();
            for (std::int32_t k = 0; k < polygon->numVertices; ++k) {
                const TMapVertex& v = geometry_.vertices[polygon->firstVertex + k];
                AddVertex(s, v.position, polygon->normal, v.s, v.t, factor, pieceMin, pieceMax);
            }
            // A fan around the first corner, wound against the polygon's order.
            const std::int32_t n = polygon->numVertices;
            addTriangle(c0 + 2, c0 + 1, c0);
            if (n == 4) {
                addTriangle(c0, c0 + 3, c0 + 2);
            } else {
                for (std::int32_t j = 1; j <= n - 3; ++j)
                    addTriangle(c0 + j + 2, c0 + j + 1, c0);
            }
            endPiece(c0, trianglesBefore);
        }
        for (const TMapMesh* mesh : plan.meshes) {
            const auto c0 = static_cast<std::int32_t>(s.vertices.size());
            const std::size_t trianglesBefore = s.triangles.size();
            startPiece();
            for (const TMapVertex& v : mesh->vertices)
                AddVertex(s, v.position, v.normal, v.s, v.t, factor, pieceMin, pieceMax);
            for (const auto& tri : mesh->triangles)
                addTriangle(c0 + tri[0], c0 + tri[1], c0 + tri[2]);
            endPiece(c0, trianglesBefore);
        }
        s.numVerts = static_cast<std::int32_t>(s.vertices.size());
        s.numTriangles = static_cast<std::int32_t>(s.triangles.size());
    }
    skips.Report(convertReport_);
    std::erase_if(surfaces, [](const TSurface& surface) { return surface.triangles.empty(); });
    if (surfaces.empty()) {
        lastError_ =
            "no triangles to convert: every triangle is too small for the 1/64-unit "
            "grid of stored positions";
        return false;
    }
    const TLimitTexts texts{LimitText, "Too many shaders/textures used.."};
    if (!FitSurfaceLimits(surfaces, kMD3MaxVerts, texts, prompts, lastError_)) {
        limitExceeded_ = true;
        return false;
    }

    // Built aside and handed over whole, so that the caller's model is never half filled.
    TMD3 converted;
    THeader& h = converted.header;
    std::copy(std::begin(kMD3Ident), std::end(kMD3Ident), h.ident);
    h.version = kMD3Version;
    SetName64(kModelNamePrefix + baseName_, h.name);
    h.flags = 0;
    h.numTags = 0;
    h.numSkins = 0;
    // Pieces of a split surface are numbered on with the others.
    for (std::size_t i = 0; i < surfaces.size(); ++i)
        SetName64("surface" + std::to_string(i), surfaces[i].name);
    h.surfaces = std::move(surfaces);
    h.numSurfaces = static_cast<std::int32_t>(h.surfaces.size());
    h.numFrames = 1;
    h.frames.resize(1);
    TMD3Frame& frame = h.frames[0];
    if (minB.x > maxB.x) minB = maxB = kVectorZero;
    frame.minBounds = minB;
    frame.maxBounds = maxB;
    frame.localOrigin = VectorScale(VectorAdd(minB, maxB), 0.5f);
    frame.radius = VectorLength(VectorSubtract(maxB, minB)) * 0.5f;
    SetFrameName(kFrameName, frame.name);
    model = std::move(converted);
    return true;
}
