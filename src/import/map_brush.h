// One brush's faces turned into convex face polygons: the corners where three face planes
// meet inside the brush, ordered around each face, with their texture coordinates.
#pragma once

#include <chrono>
#include <vector>

#include "import/map_records.h"

struct TMapGeometry {
    std::vector<TMapPolygon> polygons;
    std::vector<TMapVertex> vertices;
};

// Appends a polygon for every face that has more than two corners. `textures` holds the
// entries the faces' texture indexes point into. False, with nothing appended, when the
// corner search is still running at `deadline`.
bool BuildBrushPolygons(
    std::vector<TMapFace>& faces, const std::vector<TMapTexture>& textures, TMapGeometry& geometry,
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());

// Orders the points counter-clockwise around the face as seen from the side its normal
// points to: each next point is the nearest one turning that way.
void SortFaceVertices(std::vector<TVector3>& points, const TMapFace& face);
