// TLevelMap::ConvertToMD3: the face polygons grouped by texture into MD3 surfaces.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <utility>

#include "import/level_map.h"
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

std::int64_t TrianglesOf(std::int32_t corners) {
    return corners == 3 ? 1 : corners == 4 ? 2 : std::max<std::int32_t>(corners - 2, 0);
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
    std::int64_t vertices = 0;
    std::int64_t triangles = 0;
};

}  // namespace

bool TLevelMap::ConvertToMD3(TMD3& model, UserPrompts* prompts) {
    lastError_.clear();
    note_.clear();
    if (!loaded_) return false;

    std::vector<TSurfacePlan> plans;
    for (const TMapPolygon& polygon : geometry_.polygons) {
        if (Excluded(polygon.textureName)) continue;
        const bool known = std::any_of(plans.begin(), plans.end(), [&](const TSurfacePlan& p) {
            return SameIgnoringCase(p.name, polygon.textureName);
        });
        if (!known) plans.push_back({polygon.textureName, {}, 0, 0});
    }
    if (plans.size() > static_cast<std::size_t>(kMD3MaxSurfaces)) {
        lastError_ = "MAX_SURFACES limit exceeded: " + std::to_string(plans.size()) + " > " +
                     std::to_string(kMD3MaxSurfaces) + "\r\nToo many shaders/textures used..";
        return false;
    }
    // The surface takes the form of the name met first; faces whose name differs only in
    // letter case join it (the game finds shaders without regard to case), so none is lost.
    for (TSurfacePlan& plan : plans) {
        for (const TMapPolygon& polygon : geometry_.polygons) {
            if (!SameIgnoringCase(polygon.textureName, plan.name)) continue;
            plan.polygons.push_back(&polygon);
            plan.vertices += polygon.numVertices;
            plan.triangles += TrianglesOf(polygon.numVertices);
        }
        if (plan.vertices > kMD3MaxVerts) {
            lastError_ =
                "MAX_VERTS limit exceeded: " + std::to_string(plan.vertices) + " > " +
                std::to_string(kMD3MaxVerts) +
                "\r\nToo many vetices used with the same shader/texture..\r\nShadername: " +
                plan.name;
            return false;
        }
        if (plan.triangles > kMD3MaxTriangles) {
            lastError_ =
                "MAX_TRIANGLES limit exceeded: " + std::to_string(plan.triangles) + " > " +
                std::to_string(kMD3MaxTriangles) +
                "\r\nToo many brushes used with the same shader/texture..\r\nShadername: " +
                plan.name;
            return false;
        }
    }

    // Positions beyond the reach of the 16-bit stored values would be cut off: ask first.
    float largest = 0.0f;
    for (const TSurfacePlan& plan : plans) {
        for (const TMapPolygon* polygon : plan.polygons) {
            for (std::int32_t k = 0; k < polygon->numVertices; ++k) {
                const TVector3 p = geometry_.vertices[polygon->firstVertex + k].position;
                largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
            }
        }
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
    TVector3 minB{kBoundsStart, kBoundsStart, kBoundsStart};
    const float inf = std::numeric_limits<float>::infinity();
    TVector3 maxB{-inf, -inf, -inf};
    int clamped = 0;
    h.surfaces.resize(plans.size());
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const TSurfacePlan& plan = plans[i];
        TSurface& s = h.surfaces[i];
        std::copy(std::begin(kMD3Ident), std::end(kMD3Ident), s.ident);
        SetName64("surface" + std::to_string(i), s.name);
        s.flags = 0;
        s.numFrames = 1;
        s.numShaders = 1;
        s.shaders.resize(1);
        SetName64("textures/" + plan.name, s.shaders[0].name);
        s.shaders[0].shaderIndex = 0;
        s.numVerts = static_cast<std::int32_t>(plan.vertices);
        s.numTriangles = static_cast<std::int32_t>(plan.triangles);
        s.vertices.reserve(static_cast<std::size_t>(plan.vertices));
        s.texCoords.reserve(static_cast<std::size_t>(plan.vertices));
        s.triangles.reserve(static_cast<std::size_t>(plan.triangles));
        for (const TMapPolygon* polygon : plan.polygons) {
            const auto c0 = static_cast<std::int32_t>(s.vertices.size());
            const std::uint16_t normal = EncodeNormal(polygon->normal);
            for (std::int32_t k = 0; k < polygon->numVertices; ++k) {
                const TMapVertex& v = geometry_.vertices[polygon->firstVertex + k];
                const TVector3 p = VectorScale(v.position, factor);
                TMD3Vertex out;
                out.x = StoredCoordinate(p.x, clamped);
                out.y = StoredCoordinate(p.y, clamped);
                out.z = StoredCoordinate(p.z, clamped);
                out.normal = normal;
                s.vertices.push_back(out);
                s.texCoords.push_back({v.s, 1.0f - v.t});
                minB = {std::min(minB.x, p.x), std::min(minB.y, p.y), std::min(minB.z, p.z)};
                maxB = {std::max(maxB.x, p.x), std::max(maxB.y, p.y), std::max(maxB.z, p.z)};
            }
            // A fan around the first corner, wound against the polygon's order.
            const std::int32_t n = polygon->numVertices;
            s.triangles.push_back({{c0 + 2, c0 + 1, c0}});
            if (n == 4) {
                s.triangles.push_back({{c0, c0 + 3, c0 + 2}});
            } else {
                for (std::int32_t j = 1; j <= n - 3; ++j)
                    s.triangles.push_back({{c0 + j + 2, c0 + j + 1, c0}});
            }
        }
    }
    h.numSurfaces = static_cast<std::int32_t>(plans.size());
    h.numFrames = 1;
    h.frames.resize(1);
    TMD3Frame& frame = h.frames[0];
    // A map without brushes has nothing to bound; infinite bounds would make a file no
    // reader can place.
    if (minB.x > maxB.x) minB = maxB = kVectorZero;
    frame.minBounds = minB;
    frame.maxBounds = maxB;
    frame.localOrigin = VectorScale(VectorAdd(minB, maxB), 0.5f);
    frame.radius = VectorLength(VectorSubtract(maxB, minB)) * 0.5f;
    SetFrameName(kFrameName, frame.name);
    model = std::move(converted);
    return true;
}
