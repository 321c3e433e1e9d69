// The sky box: ten textured quads around the camera, well inside the far clip distance. Each
// side face is an upper half above the horizon (y 0..h) and a lower half below it.
#pragma once

#include <array>
#include <string>

#include "math/vector.h"

enum class TSkyFace { kLeft, kRight, kBottom, kTop, kFront, kBack };
inline constexpr int kSkyFaceCount = 6;

inline constexpr float kSkyBoxHalfWidth = 20000.0f / 7.0f;   // 2857.142822
inline constexpr float kSkyBoxHalfHeight = 10000.0f / 7.0f;  // 1428.571411

struct TSkyCornerRef {
    int corner;
    float s;
    float t;
};

struct TSkyQuad {
    TSkyFace face;
    TVector3 normal;
    std::array<TSkyCornerRef, 4> corners;
};

extern const std::array<TVector3, 12> kSkyBoxCorners;
extern const std::array<TSkyQuad, 10> kSkyBoxQuads;

// The image names of the six faces for a base name, in face order: base + "Left", ...
std::array<std::string, kSkyFaceCount> SkyBoxFaceNames(const std::string& base);
