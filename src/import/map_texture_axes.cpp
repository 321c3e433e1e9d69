#include "import/map_texture_axes.h"

#include <cmath>
#include <numbers>

namespace {

float SnapComponent(float c) {
    if (std::fabs(c) < 1e-6f) return 0.0f;
    if (std::fabs(1.0f - std::fabs(c)) < 0.001f) return c < 0.0f ? -1.0f : 1.0f;
    return c;
}

int SignOf(float c) {
    return c < 0.0f ? -1 : 1;
}

}  // namespace

void TextureAxesForFace(TMapFace& face) {
    const TVector3 n{SnapComponent(face.normal.x), SnapComponent(face.normal.y),
                     SnapComponent(face.normal.z)};
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    // The compiler tries Z, then X, then Y, and takes a later axis only when it is ahead by
    // more than 0.0001: a face at 45 degrees between walls, whose rounded normal may lean
    // a hair toward Y, projects along X.
    constexpr float kAhead = 0.0001f;
    const float zBest = az > kAhead ? az : 0.0f;
    const bool xAhead = ax > zBest + kAhead;
    const bool yAhead = ay > (xAhead ? ax : zBest) + kAhead;
    const bool zAxis = !xAhead && !yAhead;
    const bool xAxis = xAhead && !yAhead;
    // The points were turned 180 degrees about Z, so the base axes of x and y are negated.
    if (zAxis) {
        face.dominantAxis = 3;
        face.dominantSign = SignOf(n.z);
        face.axisS = {-1.0f, 0.0f, 0.0f};
        face.axisT = {0.0f, 1.0f, 0.0f};
        face.rotation = -face.rotation;
    } else if (xAxis) {
        face.dominantAxis = 1;
        face.dominantSign = SignOf(n.x);
        face.axisS = {0.0f, -1.0f, 0.0f};
        face.axisT = {0.0f, 0.0f, -1.0f};
    } else {
        face.dominantAxis = 2;
        face.dominantSign = SignOf(n.y);
        face.axisS = {-1.0f, 0.0f, 0.0f};
        face.axisT = {0.0f, 0.0f, -1.0f};
    }
}

void FaceTexCoord(const TMapFace& face, TVector3 position, const TMapTexture* texture, float& s,
                  float& t) {
    s = 0.0f;
    t = 0.0f;
    if (texture == nullptr || texture->name.empty() || texture->width <= 0 ||
        texture->height <= 0) {
        return;
    }
    const double theta = double{face.rotation} * std::numbers::pi / 180.0;
    const float c = static_cast<float>(std::cos(theta));
    const float sn = static_cast<float>(std::sin(theta));
    TVector3 v = position;
    auto turn = [c, sn](float& a, float& b) {
        const float a0 = a, b0 = b;
        a = c * a0 - sn * b0;
        b = sn * a0 + c * b0;
    };
    if (face.dominantAxis == 1) turn(v.y, v.z);
    if (face.dominantAxis == 2) turn(v.x, v.z);
    if (face.dominantAxis == 3) turn(v.x, v.y);
    const float invW = 1.0f / static_cast<float>(texture->width);
    const float invH = 1.0f / static_cast<float>(texture->height);
    s = VectorDot(v, face.axisS) * invW * (1.0f / face.scaleS) + face.shiftS * invW;
    t = VectorDot(v, face.axisT) * invH * (1.0f / face.scaleT) + face.shiftT * invH;
}

void BrushPrimitiveTexCoord(const TMapFace& face, TVector3 position, float& s, float& t) {
    // Back to map coordinates: the importer holds a map point (x, y, z) at (-x, -y, z), and its
    // face normals point out of the brush there as the editor's do in the map.
    const double nx = -double{face.normal.x}, ny = -double{face.normal.y};
    const double nz = double{face.normal.z};
    auto clean = [](double c) { return std::fabs(c) < 1e-6 ? 0.0 : c; };
    // The editor's axis base: the map's Y and Z axes turned into the face plane.
    const double rotY =
        -std::atan2(clean(nz), std::sqrt(clean(nx) * clean(nx) + clean(ny) * clean(ny)));
    const double rotZ = std::atan2(clean(ny), clean(nx));
    const double sx = -std::sin(rotZ), sy = std::cos(rotZ);
    const double tx = -std::sin(rotY) * std::cos(rotZ), ty = -std::sin(rotY) * std::sin(rotZ),
                 tz = -std::cos(rotY);
    const double px = -double{position.x}, py = -double{position.y}, pz = double{position.z};
    const double x = px * sx + py * sy;
    const double y = px * tx + py * ty + pz * tz;
    s = static_cast<float>(face.matrix[0][0] * x + face.matrix[0][1] * y + face.matrix[0][2]);
    t = static_cast<float>(face.matrix[1][0] * x + face.matrix[1][1] * y + face.matrix[1][2]);
}
