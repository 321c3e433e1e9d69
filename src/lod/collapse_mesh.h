// The working mesh of one progressive-mesh run: vertices that know their neighbours and faces,
// and triangles with their normals. Every list keeps the order in which its entries were met
// and closes the gap on removal, because the choice among equally cheap candidates depends on
// that order. Vertices and triangles are named by their index in the arrays below; removed ones
// stay there, unused.
#pragma once

#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "skeletal/mdm_format.h"

struct TcmVertex {
    std::int32_t id = 0;  // the vertex's index in the surface before reordering
    TVector3 position;
    std::vector<std::int32_t> neighbours;  // each at most once, in the order first met
    std::vector<std::int32_t> faces;
    float cost = 0.0f;
    std::int32_t collapse = -1;  // the candidate vertex, -1 for none
};

struct TcmTriangle {
    std::int32_t vertex[3] = {};
    TVector3 normal;
};

// Cost of a vertex that has no neighbour left, and the bound a candidate must stay under.
inline constexpr float kCostLonely = -0.01f;
inline constexpr float kCostNoCandidate = 1000000.0f;
inline constexpr float kCostBorderOntoInterior = 100000.0f;
inline constexpr float kCostBorderOntoBorder = 10000.0f;

class TcmMesh {
  public:
    // One vertex per position (id = index) and one triangle per MDM triangle whose three
    // indices name three different vertices of the surface; the others are left out.
    TcmMesh(const std::vector<TVector3>& positions, const std::vector<TMDMTriangle>& triangles);

    std::size_t VertexCount() const { return vertices_.size(); }
    std::size_t TriangleCount() const { return triangles_.size(); }
    const TcmVertex& Vertex(std::int32_t v) const { return vertices_[static_cast<std::size_t>(v)]; }

    // Some edge of v belongs to a single one of v's triangles.
    bool IsBorder(std::int32_t v) const;
    // IsBorder, remembered until the next collapse: the costs after a collapse look at each
    // vertex's border many times over.
    bool BorderSinceLastCollapse(std::int32_t v) const;
    // The cost of collapsing u onto its neighbour v: edge length times a curvature term, with
    // penalties that keep the open border for last.
    float EdgeCollapseCost(std::int32_t u, std::int32_t v) const;
    // Chooses v's candidate (the first cheapest neighbour under kCostNoCandidate) and its cost.
    void ComputeCost(std::int32_t v);

    // Collapses u onto its candidate: u's triangles that hold the candidate go, the others take
    // the candidate in u's place, and u leaves. Without a candidate every triangle of u goes with
    // it, so a run always ends. Gives u's neighbours from before the collapse, whose costs are
    // now stale, and appends the removed triangles to `removedTriangles`.
    std::vector<std::int32_t> Collapse(std::int32_t u, std::vector<std::int32_t>& removedTriangles);

  private:
    bool HasVertex(std::int32_t f, std::int32_t v) const;
    bool ShareTriangle(std::int32_t a, std::int32_t b) const;
    void RemoveIfNonNeighbour(std::int32_t v, std::int32_t n);
    void RemoveTriangle(std::int32_t f, std::vector<std::int32_t>& removedTriangles);
    void ReplaceVertex(std::int32_t f, std::int32_t oldVertex, std::int32_t newVertex);
    void RemoveVertex(std::int32_t u);
    void UpdateNormal(std::int32_t f);
    float EdgeCollapseCost(std::int32_t u, std::int32_t v, bool uBorder) const;

    std::vector<TcmVertex> vertices_;
    std::vector<TcmTriangle> triangles_;
    mutable std::vector<std::uint32_t> borderStamp_;
    mutable std::vector<bool> borderValue_;
    std::uint32_t collapses_ = 1;
    mutable std::vector<std::int32_t> sides_;
};
