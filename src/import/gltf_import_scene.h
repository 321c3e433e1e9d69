// The node tree of a glTF file: which nodes the scene shows, in an order that puts every
// parent before its children, their local transforms (translation, rotation, scale or a
// matrix) and the world matrices that follow from them down the hierarchy.
#pragma once

#include <array>
#include <vector>

namespace tinygltf {
class Model;
}

// A 4x4 matrix as glTF stores one: column-major, for column vectors, in double precision so
// that long hierarchies do not drift.
struct TGltfMatrix {
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double at(int row, int col) const { return m[static_cast<std::size_t>(col * 4 + row)]; }
    double& at(int row, int col) { return m[static_cast<std::size_t>(col * 4 + row)]; }
};

using TGltfPoint = std::array<double, 3>;

TGltfMatrix operator*(const TGltfMatrix& a, const TGltfMatrix& b);
TGltfPoint TransformPoint(const TGltfMatrix& m, const TGltfPoint& p);
// The upper 3x3 part alone: for directions.
TGltfPoint TransformDirection(const TGltfMatrix& m, const TGltfPoint& d);
double Determinant3(const TGltfMatrix& m);
// The inverse transpose of the upper 3x3 part, for normals under scaling; the identity when
// the matrix squashes space flat.
TGltfMatrix NormalMatrix(const TGltfMatrix& m);

// A node's local transform at one moment.
struct TGltfNodePose {
    TGltfPoint translation{0, 0, 0};
    std::array<double, 4> rotation{0, 0, 0, 1};  // x, y, z, w
    TGltfPoint scale{1, 1, 1};
    bool hasMatrix = false;  // a node given as a matrix is not animated
    TGltfMatrix matrix;
    std::vector<double> weights;  // the morph target weights of its mesh
};

TGltfMatrix LocalMatrix(const TGltfNodePose& pose);

class TGltfScene {
  public:
    // Throws TGltfRefusal for a node named by two parents or by itself below, a child or root
    // that does not exist, or a scene that does not exist.
    explicit TGltfScene(const tinygltf::Model& model);

    // The nodes of the scene, parents before their children.
    const std::vector<int>& Nodes() const { return order_; }
    int Parent(int node) const { return parents_[static_cast<std::size_t>(node)]; }
    std::size_t NodeCount() const { return parents_.size(); }

    // The nodes' transforms as the file gives them, indexed by node.
    std::vector<TGltfNodePose> RestPoses() const;
    // World matrices of the scene's nodes (indexed by node) from their local transforms.
    void WorldMatrices(const std::vector<TGltfNodePose>& poses,
                       std::vector<TGltfMatrix>& world) const;

  private:
    const tinygltf::Model& model_;
    std::vector<int> parents_;
    std::vector<int> order_;
};
