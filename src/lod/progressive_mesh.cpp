#include "lod/progressive_mesh.h"

#include <algorithm>
#include <set>
#include <utility>

#include "lod/collapse_mesh.h"

namespace {

// The order in which the scan would choose: vertices without a candidate first (in list
// order, which is id order because vertices are only ever removed), then interior before
// border vertices, then the lower cost, then list order.
struct TcmKey {
    enum Class : std::uint8_t { NoCandidate, Interior, Border };
    Class cls = NoCandidate;
    float cost = 0.0f;
    std::int32_t id = 0;

    bool operator<(const TcmKey& o) const {
        if (cls != o.cls) return cls < o.cls;
        if (cost < o.cost) return true;
        if (o.cost < cost) return false;
        return id < o.id;
    }
};

TcmKey KeyOf(const TcmMesh& mesh, std::int32_t v) {
    const TcmVertex& vertex = mesh.Vertex(v);
    if (vertex.collapse < 0) return {TcmKey::NoCandidate, 0.0f, v};
    return {mesh.BorderSinceLastCollapse(v) ? TcmKey::Border : TcmKey::Interior, vertex.cost, v};
}

// Records the removal of `m` as the last of `remaining` vertices.
void Record(TcmResult& result, const TcmVertex& m, std::size_t remaining) {
    const auto newIndex = static_cast<std::int32_t>(remaining - 1);
    result.permutation[static_cast<std::size_t>(m.id)] = newIndex;
    result.map[remaining - 1] = m.collapse;
}

TcmResult Start(std::size_t count) {
    TcmResult result;
    result.permutation.assign(count, 0);
    result.map.assign(count, -1);
    result.lodMinimum = -1;
    return result;
}

// Turns the targets into the new numbering.
void Finish(TcmResult& result) {
    for (std::int32_t& target : result.map) {
        target = target < 0 ? 0 : result.permutation[static_cast<std::size_t>(target)];
    }
    if (result.lodMinimum < 0) result.lodMinimum = 0;
}

std::int32_t MinimumCostVertexLiteral(const TcmMesh& mesh, const std::vector<std::int32_t>& list,
                                      std::int32_t& lodMinimum) {
    for (std::int32_t v : list) {
        if (mesh.Vertex(v).collapse < 0) return v;
    }
    std::int32_t best = -1;
    for (std::int32_t v : list) {
        if (mesh.IsBorder(v)) continue;
        if (best < 0 || mesh.Vertex(v).cost < mesh.Vertex(best).cost) best = v;
    }
    if (best >= 0) return best;
    if (lodMinimum < 0) lodMinimum = static_cast<std::int32_t>(list.size());
    best = list.front();
    for (std::int32_t v : list) {
        if (mesh.Vertex(v).cost < mesh.Vertex(best).cost) best = v;
    }
    return best;
}

}  // namespace

TcmResult ProgressiveMesh(const std::vector<TVector3>& positions,
                          const std::vector<TMDMTriangle>& triangles) {
    TcmMesh mesh(positions, triangles);
    const std::size_t count = mesh.VertexCount();
    TcmResult result = Start(count);
    std::vector<TcmKey> keys(count);
    std::set<TcmKey> queue;
    for (std::size_t i = 0; i < count; ++i) {
        const auto v = static_cast<std::int32_t>(i);
        mesh.ComputeCost(v);
        keys[i] = KeyOf(mesh, v);
        queue.insert(keys[i]);
    }
    std::vector<std::int32_t> removed;
    while (!queue.empty()) {
        const std::size_t remaining = queue.size();
        const TcmKey top = *queue.begin();
        queue.erase(queue.begin());
        if (top.cls == TcmKey::Border && result.lodMinimum < 0) {
            result.lodMinimum = static_cast<std::int32_t>(remaining);
        }
        Record(result, mesh.Vertex(top.id), remaining);
        removed.clear();
        // Only the collapsed vertex's neighbours change their faces, so only their border
        // state and cost can change.
        for (std::int32_t n : mesh.Collapse(top.id, removed)) {
            auto& key = keys[static_cast<std::size_t>(n)];
            queue.erase(key);
            mesh.ComputeCost(n);
            key = KeyOf(mesh, n);
            queue.insert(key);
        }
    }
    Finish(result);
    return result;
}

TcmResult ProgressiveMeshLiteral(const std::vector<TVector3>& positions,
                                 const std::vector<TMDMTriangle>& triangles) {
    TcmMesh mesh(positions, triangles);
    TcmResult result = Start(mesh.VertexCount());
    std::vector<std::int32_t> vertexList(mesh.VertexCount());
    for (std::size_t i = 0; i < vertexList.size(); ++i)
        vertexList[i] = static_cast<std::int32_t>(i);
    std::vector<std::int32_t> triangleList(mesh.TriangleCount());
    for (std::size_t i = 0; i < triangleList.size(); ++i)
        triangleList[i] = static_cast<std::int32_t>(i);
    for (std::int32_t v : vertexList)
        mesh.ComputeCost(v);
    std::vector<std::int32_t> removed;
    while (!vertexList.empty()) {
        const std::int32_t m = MinimumCostVertexLiteral(mesh, vertexList, result.lodMinimum);
        Record(result, mesh.Vertex(m), vertexList.size());
        removed.clear();
        const std::vector<std::int32_t> stale = mesh.Collapse(m, removed);
        for (std::int32_t f : removed)
            triangleList.erase(std::find(triangleList.begin(), triangleList.end(), f));
        vertexList.erase(std::find(vertexList.begin(), vertexList.end(), m));
        for (std::int32_t n : stale)
            mesh.ComputeCost(n);
    }
    Finish(result);
    return result;
}
