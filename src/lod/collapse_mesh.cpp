#include "lod/collapse_mesh.h"

#include <algorithm>

namespace {

void EraseValue(std::vector<std::int32_t>& list, std::int32_t value) {
    const auto it = std::find(list.begin(), list.end(), value);
    if (it != list.end()) list.erase(it);
}

void AddUnique(std::vector<std::int32_t>& list, std::int32_t value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

}  // namespace

TcmMesh::TcmMesh(const std::vector<TVector3>& positions,
                 const std::vector<TMDMTriangle>& triangles) {
    vertices_.resize(positions.size());
    borderStamp_.assign(positions.size(), 0);
    borderValue_.assign(positions.size(), false);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        vertices_[i].id = static_cast<std::int32_t>(i);
        vertices_[i].position = positions[i];
    }
    const auto count = static_cast<std::int64_t>(positions.size());
    for (const TMDMTriangle& tri : triangles) {
        const std::int32_t a = tri.indexes[0], b = tri.indexes[1], c = tri.indexes[2];
        if (a < 0 || b < 0 || c < 0 || a >= count || b >= count || c >= count) continue;
        if (a == b || b == c || a == c) continue;
        const auto f = static_cast<std::int32_t>(triangles_.size());
        triangles_.push_back({{a, b, c}, {}});
        UpdateNormal(f);
        for (int i = 0; i < 3; ++i) {
            TcmVertex& v = vertices_[static_cast<std::size_t>(tri.indexes[i])];
            v.faces.push_back(f);
            for (int j = 0; j < 3; ++j) {
                if (j != i) AddUnique(v.neighbours, tri.indexes[j]);
            }
        }
    }
}

void TcmMesh::UpdateNormal(std::int32_t f) {
    TcmTriangle& t = triangles_[static_cast<std::size_t>(f)];
    t.normal = TriangleNormal(Vertex(t.vertex[0]).position, Vertex(t.vertex[1]).position,
                              Vertex(t.vertex[2]).position);
}

bool TcmMesh::HasVertex(std::int32_t f, std::int32_t v) const {
    const TcmTriangle& t = triangles_[static_cast<std::size_t>(f)];
    return t.vertex[0] == v || t.vertex[1] == v || t.vertex[2] == v;
}

bool TcmMesh::ShareTriangle(std::int32_t a, std::int32_t b) const {
    for (std::int32_t f : Vertex(a).faces) {
        if (HasVertex(f, b)) return true;
    }
    return false;
}

bool TcmMesh::IsBorder(std::int32_t v) const {
    const std::vector<std::int32_t>& faces = Vertex(v).faces;
    for (std::int32_t f : faces) {
        for (std::int32_t w : triangles_[static_cast<std::size_t>(f)].vertex) {
            if (w == v) continue;
            int holding = 0;
            for (std::int32_t g : faces) {
                if (HasVertex(g, w)) ++holding;
            }
            if (holding == 1) return true;
        }
    }
    return false;
}

bool TcmMesh::BorderSinceLastCollapse(std::int32_t v) const {
    const auto i = static_cast<std::size_t>(v);
    if (borderStamp_[i] != collapses_) {
        borderStamp_[i] = collapses_;
        borderValue_[i] = IsBorder(v);
    }
    return borderValue_[i];
}

float TcmMesh::EdgeCollapseCost(std::int32_t u, std::int32_t v) const {
    return EdgeCollapseCost(u, v, IsBorder(u));
}

float TcmMesh::EdgeCollapseCost(std::int32_t u, std::int32_t v, bool uBorder) const {
    const TcmVertex& from = Vertex(u);
    const float edgeLength = VectorLength(VectorSubtract(Vertex(v).position, from.position));
    std::vector<std::int32_t>& sides = sides_;
    sides.clear();
    for (std::int32_t f : from.faces) {
        if (HasVertex(f, v)) sides.push_back(f);
    }
    float curvature = 0.0f;
    for (std::int32_t f : from.faces) {
        const TVector3 normal = triangles_[static_cast<std::size_t>(f)].normal;
        float minCurv = 1.0f;
        for (std::int32_t s : sides) {
            const float dot = VectorDot(normal, triangles_[static_cast<std::size_t>(s)].normal);
            minCurv = std::min(minCurv, (1.0f - dot) / 2.0f);
        }
        curvature = std::max(curvature, minCurv);
    }
    float cost = edgeLength * curvature;
    const bool vBorder = BorderSinceLastCollapse(v);
    if (uBorder && !vBorder) cost += kCostBorderOntoInterior;
    if (uBorder && vBorder) cost += kCostBorderOntoBorder;
    return cost;
}

void TcmMesh::ComputeCost(std::int32_t v) {
    TcmVertex& vertex = vertices_[static_cast<std::size_t>(v)];
    vertex.collapse = -1;
    if (vertex.neighbours.empty()) {
        vertex.cost = kCostLonely;
        return;
    }
    vertex.cost = kCostNoCandidate;
    const bool border = BorderSinceLastCollapse(v);
    for (std::int32_t n : vertex.neighbours) {
        const float c = EdgeCollapseCost(v, n, border);
        if (c < vertex.cost) {
            vertex.collapse = n;
            vertex.cost = c;
        }
    }
}

void TcmMesh::RemoveIfNonNeighbour(std::int32_t v, std::int32_t n) {
    std::vector<std::int32_t>& neighbours = vertices_[static_cast<std::size_t>(v)].neighbours;
    if (std::find(neighbours.begin(), neighbours.end(), n) == neighbours.end()) return;
    if (ShareTriangle(v, n)) return;
    EraseValue(neighbours, n);
}

void TcmMesh::RemoveTriangle(std::int32_t f, std::vector<std::int32_t>& removedTriangles) {
    removedTriangles.push_back(f);
    const TcmTriangle t = triangles_[static_cast<std::size_t>(f)];
    for (std::int32_t v : t.vertex)
        EraseValue(vertices_[static_cast<std::size_t>(v)].faces, f);
    for (int i = 0; i < 3; ++i) {
        const std::int32_t a = t.vertex[i], b = t.vertex[(i + 1) % 3];
        RemoveIfNonNeighbour(a, b);
        RemoveIfNonNeighbour(b, a);
    }
}

void TcmMesh::ReplaceVertex(std::int32_t f, std::int32_t oldVertex, std::int32_t newVertex) {
    TcmTriangle& t = triangles_[static_cast<std::size_t>(f)];
    for (std::int32_t& slot : t.vertex) {
        if (slot == oldVertex) slot = newVertex;
    }
    EraseValue(vertices_[static_cast<std::size_t>(oldVertex)].faces, f);
    vertices_[static_cast<std::size_t>(newVertex)].faces.push_back(f);
    for (std::int32_t x : t.vertex) {
        RemoveIfNonNeighbour(oldVertex, x);
        RemoveIfNonNeighbour(x, oldVertex);
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (i != j)
                AddUnique(vertices_[static_cast<std::size_t>(t.vertex[i])].neighbours, t.vertex[j]);
        }
    }
    UpdateNormal(f);
}

void TcmMesh::RemoveVertex(std::int32_t u) {
    TcmVertex& vertex = vertices_[static_cast<std::size_t>(u)];
    for (std::int32_t n : vertex.neighbours)
        EraseValue(vertices_[static_cast<std::size_t>(n)].neighbours, u);
    vertex.neighbours.clear();
}

std::vector<std::int32_t> TcmMesh::Collapse(std::int32_t u,
                                            std::vector<std::int32_t>& removedTriangles) {
    ++collapses_;
    std::vector<std::int32_t> stale = Vertex(u).neighbours;
    const std::int32_t v = Vertex(u).collapse;
    const std::vector<std::int32_t>& faces = vertices_[static_cast<std::size_t>(u)].faces;
    // Removing or rewriting a face takes it out of u's faces; going from the last keeps the
    // indices below valid.
    for (std::size_t i = faces.size(); i-- > 0;) {
        if (v < 0 || HasVertex(faces[i], v)) RemoveTriangle(faces[i], removedTriangles);
    }
    for (std::size_t i = faces.size(); i-- > 0;)
        ReplaceVertex(faces[i], u, v);
    RemoveVertex(u);
    return stale;
}
