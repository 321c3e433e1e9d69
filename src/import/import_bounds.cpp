#include "import/import_bounds.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "io/user_prompts.h"
#include "md3/md3.h"

void TImportBounds::Add(TVector3 p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    empty = false;
}

bool TImportBounds::OutOfRange() const {
    return min.x <= -512.0f || min.y <= -512.0f || min.z <= -512.0f || max.x >= 512.0f ||
           max.y >= 512.0f || max.z >= 512.0f;
}

float TImportBounds::FitFactor() const {
    const float largest = std::max({std::fabs(min.x), std::fabs(min.y), std::fabs(min.z),
                                    std::fabs(max.x), std::fabs(max.y), std::fabs(max.z)});
    return 511.0f / largest;
}

bool AskScaleToFit(const TImportBounds& bounds, UserPrompts& prompts, float& factor) {
    factor = 1.0f;
    if (!bounds.OutOfRange()) return true;
    if (prompts.Ask(kScaleQuestionCaption, kScaleQuestionText, PromptButtons::YesNoCancel) !=
        PromptAnswer::Yes)
        return false;
    factor = bounds.FitFactor();
    return true;
}

void FinishConvertedModel(TMD3& model, const std::string& modelName, const TImportBounds& bounds,
                          const char* frameName) {
    THeader& h = model.header;
    std::memcpy(h.ident, kMD3Ident, sizeof(h.ident));
    h.version = kMD3Version;
    SetName64(modelName, h.name);
    h.flags = 0;
    h.numFrames = 1;
    h.numTags = static_cast<std::int32_t>(h.tags.size());
    h.numSurfaces = static_cast<std::int32_t>(h.surfaces.size());
    h.numSkins = 0;
    TMD3Frame frame;
    // A model of tags only has no extent; infinite bounds would reach the file.
    if (!bounds.empty) {
        frame.minBounds = bounds.min;
        frame.maxBounds = bounds.max;
    }
    frame.localOrigin = (frame.minBounds + frame.maxBounds) * 0.5f;
    frame.radius = VectorLength(frame.maxBounds - frame.minBounds) * 0.5f;
    // The text, a zero byte, then spaces.
    std::memset(frame.name, ' ', sizeof(frame.name));
    const std::size_t length = std::min(std::strlen(frameName), sizeof(frame.name));
    std::memcpy(frame.name, frameName, length);
    if (length < sizeof(frame.name)) frame.name[length] = '\0';
    h.frames.assign(1, frame);
}

TSurface NewConvertedSurface(const std::string& name, const std::string& shaderName) {
    TSurface s;
    std::memcpy(s.ident, kMD3Ident, sizeof(s.ident));
    SetName64(name, s.name);
    s.numFrames = 1;
    s.numShaders = 1;
    s.shaders.resize(1);
    SetName64(shaderName, s.shaders[0].name);
    s.shaders[0].shaderIndex = 0;
    return s;
}

void AddConvertedCorner(TSurface& surface, TVector3 position, std::uint16_t normal, float s,
                        float fileT, TImportBounds& bounds) {
    int clamped = 0;
    surface.vertices.push_back({StoredCoordinate(position.x, clamped),
                                StoredCoordinate(position.y, clamped),
                                StoredCoordinate(position.z, clamped), normal});
    // The model holds t flipped; the writer flips it back.
    surface.texCoords.push_back({s, 1.0f - fileT});
    bounds.Add(position);
}

void CloseConvertedSurface(TSurface& surface) {
    surface.numVerts = static_cast<std::int32_t>(surface.texCoords.size());
    surface.numTriangles = static_cast<std::int32_t>(surface.triangles.size());
}

bool IsFinite(TVector3 p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

namespace {

// Whether three stored positions lie on one line. They are whole numbers: the cross product
// is exact.
bool OnOneLine(const std::int64_t (&q)[3][3]) {
    std::int64_t a[3], b[3];
    for (int i = 0; i < 3; ++i) {
        a[i] = q[1][i] - q[0][i];
        b[i] = q[2][i] - q[0][i];
    }
    return a[1] * b[2] - a[2] * b[1] == 0 && a[2] * b[0] - a[0] * b[2] == 0 &&
           a[0] * b[1] - a[1] * b[0] == 0;
}

}  // namespace

bool TTriangleSkips::Keep(const TVector3 (&corners)[3]) {
    if (!IsFinite(corners[0]) || !IsFinite(corners[1]) || !IsFinite(corners[2])) {
        ++notFinite;
        return false;
    }
    std::int64_t q[3][3];
    int clamped = 0;
    for (int j = 0; j < 3; ++j) {
        q[j][0] = StoredCoordinate(corners[j].x, clamped);
        q[j][1] = StoredCoordinate(corners[j].y, clamped);
        q[j][2] = StoredCoordinate(corners[j].z, clamped);
    }
    if (OnOneLine(q)) {
        ++collapsed;
        return false;
    }
    return true;
}

bool TTriangleSkips::KeepStored(const TMD3Vertex& a, const TMD3Vertex& b, const TMD3Vertex& c) {
    const std::int64_t q[3][3] = {{a.x, a.y, a.z}, {b.x, b.y, b.z}, {c.x, c.y, c.z}};
    if (OnOneLine(q)) {
        ++collapsed;
        return false;
    }
    return true;
}

void TTriangleSkips::Report(TImportReport& report) const {
    report.Count(notFinite, "triangle", "triangles", "with corners that are no numbers left out");
    report.Count(collapsed, "triangle", "triangles",
                 "too small for the 1/64-unit grid of stored positions left out");
}
