// The records the map importer works with: texture entries, the face of the brush being
// read, and the polygons and corners it emits for the MD3 conversion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/vector.h"

struct TMapTexture {
    std::string name;
    std::int32_t width = 256;
    std::int32_t height = 256;
    std::int32_t spare = 0;
};

// Where a face's texture coordinates come from: the classic shift/rotation/scale line, or
// the 2x3 matrix of a brush-primitive face.
enum class TMapProjection { Classic, Matrix };

struct TMapFace {
    TVector3 normal;
    float distance = 0.0f;
    TVector3 p1, p2, p3;
    std::string textureName;
    std::int32_t textureIndex = -1;
    TVector3 axisS, axisT;
    float rotation = 0.0f;
    float shiftS = 0.0f;
    float shiftT = 0.0f;
    float scaleS = 1.0f;
    float scaleT = 1.0f;
    int dominantAxis = 0;  // 1 = X, 2 = Y, 3 = Z
    int dominantSign = 1;
    TMapProjection projection = TMapProjection::Classic;
    float matrix[2][3] = {};
    // A line that was too short to read takes part in nothing.
    bool used = false;
    std::vector<TVector3> points;
};

// Polygons and their corners are in the map's coordinates; the face records above hold the
// corner search's turned ones.
struct TMapPolygon {
    TVector3 normal;
    std::int32_t numVertices = 0;
    std::int32_t firstVertex = 0;
    std::int32_t textureIndex = -1;
    std::string textureName;
};

struct TMapVertex {
    TVector3 normal;
    TVector3 position;
    float s = 0.0f;
    float t = 0.0f;
};
