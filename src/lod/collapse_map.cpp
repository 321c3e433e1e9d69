#include "lod/collapse_map.h"

#include <utility>

#include "lod/progressive_mesh.h"
#include "skeletal/skeletal_pair.h"
#include "skeletal/skeletal_poser.h"

namespace {

// Moves every vertex record from its old index k to permutation[k] and renumbers the
// triangles the same way.
void Reorder(TMDMSurface& surface, const std::vector<std::int32_t>& permutation) {
    std::vector<TMDMVertex> vertices(surface.vertices.size());
    for (std::size_t k = 0; k < surface.vertices.size(); ++k)
        vertices[static_cast<std::size_t>(permutation[k])] = std::move(surface.vertices[k]);
    surface.vertices = std::move(vertices);
    const auto count = static_cast<std::int64_t>(permutation.size());
    for (TMDMTriangle& tri : surface.triangles) {
        for (std::int32_t& index : tri.indexes) {
            // The reader refuses indices outside the surface; an edited mesh may still hold one,
            // which is left as it is rather than read out of bounds.
            if (index >= 0 && index < count) index = permutation[static_cast<std::size_t>(index)];
        }
    }
}

}  // namespace

std::uint32_t TCollapseMap::LodFrame(const TMDX& anim, std::uint32_t frame) {
    return frame < anim.header.numFrames ? frame : 0;
}

bool TCollapseMap::CalculateLod(TMDM& mesh, const TMDX& anim, std::uint32_t frame,
                                TProgress* progress) {
    if (!mesh.CountMismatch().empty() || !SkeletalPairProblem(mesh, anim).empty()) return false;
    TSkeletalPoser poser;
    if (!poser.PoseFrame(mesh, anim, LodFrame(anim, frame))) return false;
    // Every surface is computed before any is changed, so that a cancel leaves the mesh whole.
    const std::size_t count = mesh.surfaces.size();
    std::vector<TcmResult> results;
    results.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!ReportProgress(progress, i, count)) return false;
        poser.PoseSurface(mesh, static_cast<std::uint32_t>(i));
        results.push_back(ProgressiveMesh(mesh.pose.vertexPositions, mesh.surfaces[i].triangles));
    }
    ReportProgress(progress, count, count);
    for (std::size_t i = 0; i < count; ++i) {
        TMDMSurface& surface = mesh.surfaces[i];
        const TcmResult& result = results[i];
        surface.collapseMap.assign(result.map.begin(), result.map.end());
        surface.minLod = result.lodMinimum;
        if (i < mesh.lod.size()) {
            mesh.lod[i] = {static_cast<std::int32_t>(surface.numVerts), result.lodMinimum};
        }
        Reorder(surface, result.permutation);
    }
    mesh.header.lodScale = 1.0f;
    mesh.header.lodBias = 0.0f;
    return true;
}

std::int32_t TCollapseMap::MapVertex(const TMDMSurface& surface, std::int32_t index,
                                     std::int32_t vertexCount) {
    if (vertexCount <= 0) return 0;
    if (index < 0) return -1;
    const auto size = static_cast<std::int64_t>(surface.collapseMap.size());
    // A sound map lowers the index with every step, so more steps than vertices mean a loop.
    for (std::int64_t steps = 0; index >= vertexCount; ++steps) {
        if (index < 0 || index >= size || steps >= size) return -1;
        const std::uint32_t next = surface.collapseMap[static_cast<std::size_t>(index)];
        if (next >= static_cast<std::uint64_t>(size)) return -1;
        index = static_cast<std::int32_t>(next);
    }
    return index;
}

bool CollapseMapSound(const TMDMSurface& surface) {
    for (std::size_t k = 1; k < surface.collapseMap.size(); ++k) {
        if (surface.collapseMap[k] >= k) return false;
    }
    return true;
}

std::string CollapseMapProblem(const TMDM& mesh) {
    for (std::size_t i = 0; i < mesh.surfaces.size(); ++i) {
        const TMDMSurface& s = mesh.surfaces[i];
        for (std::size_t k = 1; k < s.collapseMap.size(); ++k) {
            if (s.collapseMap[k] >= k) {
                return "surface " + std::to_string(i) + ": collapse map entry " +
                       std::to_string(k) + " is " + std::to_string(s.collapseMap[k]);
            }
        }
    }
    return "";
}
