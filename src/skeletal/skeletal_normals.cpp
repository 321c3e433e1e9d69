// Normals of a skeletal mesh, computed on the posed surface and carried back into the bones'
// frames, where the MDM stores them.
#include <cmath>
#include <utility>
#include <vector>

#include "math/plane.h"
#include "skeletal/skeletal_edits.h"
#include "skeletal/skeletal_pose.h"

namespace {

// Vertices within this distance on every axis count as one spot when smoothing: split
// seams sit on the same place.
constexpr float kSmoothTolerance = 0.02f;

// The stored normal whose pose is `posed`: undoes the final z negation, then takes the
// weighted normal back through each bone's matrix and undoes the input mirror. Not
// normalized, as the pose does not normalize either.
void StorePosedNormal(TMDMVertex& vertex, TVector3 posed, const std::vector<TMatrix4>& bones) {
    posed.z = -posed.z;
    TVector3 sum = kVectorZero;
    for (const TMDMWeight& w : vertex.weights) {
        const auto b = static_cast<std::uint32_t>(w.boneIndex);
        if (b >= bones.size()) continue;
        TVector3 term = MatrixTransformPoint(VectorScale(posed, w.boneWeight), bones[b]);
        term.y = -term.y;
        sum = VectorAdd(sum, term);
    }
    vertex.normal = sum;
}

bool InSurface(const TMDMTriangle& t, std::size_t verts) {
    for (std::int32_t i : t.indexes) {
        if (i < 0 || static_cast<std::size_t>(i) >= verts) return false;
    }
    return true;
}

}  // namespace

bool RecalculateNormals(TMDM& mesh, const TMDX& anim, std::uint32_t frame, std::uint32_t surface) {
    if (frame >= anim.frames.size() || !mesh.ValidSurface(static_cast<int>(surface))) return false;
    TMDMSurface& s = mesh.surfaces[surface];
    if (s.triangles.empty() || s.vertices.empty()) return false;
    if (!SkeletalPose(mesh, anim, frame, surface)) return false;
    const std::vector<TVector3>& p = mesh.pose.vertexPositions;
    std::vector<TVector3>& posedNormals = mesh.pose.vertexNormals;
    std::vector<bool> visited(s.vertices.size(), false);
    for (TMDMTriangle& t : s.triangles) {
        if (!InSurface(t, s.vertices.size())) continue;
        TVector3 n = TriangleNormal(p[t.indexes[2]], p[t.indexes[1]], p[t.indexes[0]]);
        if (!PointBehindTriangle(p[t.indexes[2]], p[t.indexes[1]], p[t.indexes[0]], n)) {
            std::swap(t.indexes[0], t.indexes[2]);
            n = TriangleNormal(p[t.indexes[2]], p[t.indexes[1]], p[t.indexes[0]]);
        }
        for (const std::int32_t c : {t.indexes[2], t.indexes[1], t.indexes[0]}) {
            TVector3 m = n;
            if (visited[c]) {
                const TVector3 pair[2] = {n, posedNormals[c]};
                posedNormals[c] = VectorNormalize(VectorAverage(pair, 2));
                m = posedNormals[c];
            } else {
                visited[c] = true;
            }
            StorePosedNormal(s.vertices[c], m, mesh.pose.boneMatrices);
        }
    }
    return true;
}

void RecalculateAllNormals(TMDM& mesh, const TMDX& anim, std::uint32_t frame) {
    for (std::uint32_t s = 0; s < mesh.surfaces.size(); ++s)
        RecalculateNormals(mesh, anim, frame, s);
}

bool SmoothSurface(TMDM& mesh, const TMDX& anim, std::uint32_t surface) {
    if (anim.frames.empty() || !mesh.ValidSurface(static_cast<int>(surface))) return false;
    // A surface without triangles is not recalculated, but the grouping below still needs
    // its own frame-0 pose in the buffers.
    if (!RecalculateNormals(mesh, anim, 0, surface) && !SkeletalPose(mesh, anim, 0, surface)) {
        return false;
    }
    TMDMSurface& s = mesh.surfaces[surface];
    const std::vector<TVector3>& p = mesh.pose.vertexPositions;
    std::vector<TVector3>& posedNormals = mesh.pose.vertexNormals;
    std::vector<std::size_t> group;
    for (std::size_t i = 0; i < p.size(); ++i) {
        group.assign(1, i);
        TVector3 sum = posedNormals[i];
        for (std::size_t j = i + 1; j < p.size(); ++j) {
            if (VectorEqualEps(p[i], p[j], kSmoothTolerance)) {
                group.push_back(j);
                sum = VectorAdd(sum, posedNormals[j]);
            }
        }
        const auto size = static_cast<float>(group.size());
        const TVector3 average{sum.x / size, sum.y / size, sum.z / size};
        for (std::size_t k : group) {
            posedNormals[k] = average;
            StorePosedNormal(s.vertices[k], average, mesh.pose.boneMatrices);
        }
    }
    return true;
}
