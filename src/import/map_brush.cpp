#include "import/map_brush.h"

#include <cmath>
#include <optional>
#include <utility>

#include "import/map_texture_axes.h"
#include "math/plane.h"

namespace {

constexpr float kSameCornerDistance = 0.15f;
// Corners on a plane count as inside it.
constexpr float kOutside = 0.0f;

bool Finite(TVector3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void AddCorner(std::vector<TVector3>& points, TVector3 p) {
    for (const TVector3& q : points) {
        if (VectorEqualEps(p, q, kSameCornerDistance)) return;
    }
    points.push_back(p);
}

bool InsideAll(const std::vector<TMapFace>& faces, TVector3 p, std::size_t a, std::size_t b,
               std::size_t c) {
    for (std::size_t k = 0; k < faces.size(); ++k) {
        if (k == a || k == b || k == c || !faces[k].used) continue;
        if (VectorDot(faces[k].normal, p) - faces[k].distance > kOutside) return false;
    }
    return true;
}

// Two faces whose planes are parallel meet in no line, so no third face makes a corner
// with them; skipping them early keeps the search quick on brushes with many faces.
bool Parallel(const TMapFace& a, const TMapFace& b) {
    const TVector3 cross = VectorCross(a.normal, b.normal);
    return VectorDot(cross, cross) < 1e-12f;
}

struct TPoint {
    double x, y, z;
};

double Side(const TMapFace& face, const TPoint& p) {
    return double{face.normal.x} * p.x + double{face.normal.y} * p.y + double{face.normal.z} * p.z -
           double{face.distance};
}

// The faces whose planes pass within a unit of a corner of face `s`'s polygon: only they
// can meet it in a corner. The polygon is found the quick way, a large square on the face's
// plane cut by every other face; the corner search below stays the one that decides, and
// only skips the faces that cannot matter. Nothing when the polygon vanishes in rounding:
// then no face is skipped.
std::optional<std::vector<bool>> Neighbours(const std::vector<TMapFace>& faces, std::size_t s) {
    constexpr double kHalfSize = 1 << 20;
    constexpr double kNear = 1.0;
    const TMapFace& face = faces[s];
    const TPoint n{face.normal.x, face.normal.y, face.normal.z};
    // Two directions in the plane.
    const TPoint up = std::fabs(n.z) < 0.9 ? TPoint{0, 0, 1} : TPoint{1, 0, 0};
    TPoint u{up.y * n.z - up.z * n.y, up.z * n.x - up.x * n.z, up.x * n.y - up.y * n.x};
    const double length = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
    if (length == 0.0) return std::nullopt;
    u = {u.x / length, u.y / length, u.z / length};
    const TPoint v{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
    const double nn = n.x * n.x + n.y * n.y + n.z * n.z;
    const TPoint o{n.x * face.distance / nn, n.y * face.distance / nn, n.z * face.distance / nn};
    std::vector<TPoint> polygon;
    for (const auto& [a, b] :
         {std::pair{-1, -1}, std::pair{1, -1}, std::pair{1, 1}, std::pair{-1, 1}}) {
        polygon.push_back({o.x + kHalfSize * (a * u.x + b * v.x),
                           o.y + kHalfSize * (a * u.y + b * v.y),
                           o.z + kHalfSize * (a * u.z + b * v.z)});
    }
    std::vector<TPoint> cut;
    for (std::size_t k = 0; k < faces.size() && !polygon.empty(); ++k) {
        if (k == s || !faces[k].used) continue;
        cut.clear();
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const TPoint& a = polygon[i];
            const TPoint& b = polygon[(i + 1) % polygon.size()];
            const double da = Side(faces[k], a), db = Side(faces[k], b);
            if (da <= 0.0) cut.push_back(a);
            if ((da < 0.0 && db > 0.0) || (da > 0.0 && db < 0.0)) {
                const double t = da / (da - db);
                cut.push_back(
                    {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)});
            }
        }
        polygon.swap(cut);
    }
    if (polygon.size() < 3) return std::nullopt;
    std::vector<bool> near(faces.size(), false);
    for (std::size_t k = 0; k < faces.size(); ++k) {
        if (k == s || !faces[k].used) continue;
        for (const TPoint& p : polygon) {
            if (std::fabs(Side(faces[k], p)) < kNear) {
                near[k] = true;
                break;
            }
        }
    }
    return near;
}

bool FindCorners(std::vector<TMapFace>& faces, std::chrono::steady_clock::time_point deadline) {
    const std::size_t n = faces.size();
    // Small brushes are searched whole: the cut polygons would cost more than they save.
    constexpr std::size_t kManyFaces = 24;
    for (std::size_t s = 0; s < n; ++s) {
        if (!faces[s].used) continue;
        if (std::chrono::steady_clock::now() > deadline) return false;
        const std::optional<std::vector<bool>> near =
            n > kManyFaces ? Neighbours(faces, s) : std::nullopt;
        const auto skip = [&near](std::size_t k) { return near && !(*near)[k]; };
        const TPlane ps{faces[s].normal, faces[s].distance};
        for (std::size_t i = s + 1; i < n; ++i) {
            if (!faces[i].used || skip(i) || Parallel(faces[s], faces[i])) continue;
            const TPlane pi{faces[i].normal, faces[i].distance};
            for (std::size_t j = i + 1; j < n; ++j) {
                if (!faces[j].used || skip(j)) continue;
                TVector3 p;
                if (!IntersectPlanes(ps, pi, {faces[j].normal, faces[j].distance}, p)) continue;
                if (!Finite(p) || !InsideAll(faces, p, s, i, j)) continue;
                AddCorner(faces[s].points, p);
                AddCorner(faces[i].points, p);
                AddCorner(faces[j].points, p);
            }
        }
    }
    return true;
}

// The corner search works on points turned 180 degrees about Z (see the face reader); the
// polygons it hands on are back in the map's own coordinates, as the map compiler keeps them,
// so that a converted prefab placed at the map's origin sits where its brushes were.
TVector3 MapCoordinates(TVector3 turned) {
    return {-turned.x, -turned.y, turned.z};
}

}  // namespace

void SortFaceVertices(std::vector<TVector3>& points, const TMapFace& face) {
    const std::size_t n = points.size();
    if (n < 2) return;
    const TVector3 centre = VectorAverage(points.data(), n);
    const TVector3 up = VectorAdd(centre, face.normal);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const TVector3 m = TriangleNormal(points[i], centre, up);
        const float d = -VectorDot(m, points[i]);
        const TVector3 a = VectorNormalize(VectorSubtract(points[i], centre));
        double best = -1.0;
        std::size_t chosen = n;
        for (std::size_t j = i + 1; j < n; ++j) {
            if (VectorDot(m, points[j]) + d < 0.0f) continue;
            const TVector3 b = VectorNormalize(VectorSubtract(points[j], centre));
            const double dot = double{VectorDot(a, b)};
            if (dot >= best) {
                best = dot;
                chosen = j;
            }
        }
        if (chosen < n && chosen != i + 1) std::swap(points[chosen], points[i + 1]);
    }
}

bool BuildBrushPolygons(std::vector<TMapFace>& faces, const std::vector<TMapTexture>& textures,
                        TMapGeometry& geometry, std::chrono::steady_clock::time_point deadline) {
    if (!FindCorners(faces, deadline)) return false;
    for (TMapFace& face : faces) {
        if (face.points.size() <= 2) continue;
        SortFaceVertices(face.points, face);
        if (face.projection == TMapProjection::Classic) TextureAxesForFace(face);
        const TVector3 normal = MapCoordinates(face.normal);
        TMapPolygon polygon;
        polygon.normal = normal;
        polygon.numVertices = static_cast<std::int32_t>(face.points.size());
        polygon.firstVertex = static_cast<std::int32_t>(geometry.vertices.size());
        polygon.textureIndex = face.textureIndex;
        polygon.textureName = face.textureName;
        geometry.polygons.push_back(std::move(polygon));
        const TMapTexture* texture =
            face.textureIndex >= 0 && static_cast<std::size_t>(face.textureIndex) < textures.size()
                ? &textures[static_cast<std::size_t>(face.textureIndex)]
                : nullptr;
        for (const TVector3& p : face.points) {
            TMapVertex v;
            v.normal = normal;
            v.position = MapCoordinates(p);
            if (face.projection == TMapProjection::Classic) {
                FaceTexCoord(face, p, texture, v.s, v.t);
            } else {
                BrushPrimitiveTexCoord(face, p, v.s, v.t);
            }
            geometry.vertices.push_back(v);
        }
    }
    return true;
}
