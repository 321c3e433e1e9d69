#include "import/gltf_import_scene.h"

#include <cmath>
#include <string>

#include "import/gltf_import_error.h"
#include "import/gltf_library.h"

TGltfMatrix operator*(const TGltfMatrix& a, const TGltfMatrix& b) {
    TGltfMatrix r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.at(row, k) * b.at(k, col);
            r.at(row, col) = sum;
        }
    return r;
}

TGltfPoint TransformPoint(const TGltfMatrix& m, const TGltfPoint& p) {
    TGltfPoint r;
    for (int row = 0; row < 3; ++row)
        r[static_cast<std::size_t>(row)] =
            m.at(row, 0) * p[0] + m.at(row, 1) * p[1] + m.at(row, 2) * p[2] + m.at(row, 3);
    return r;
}

TGltfPoint TransformDirection(const TGltfMatrix& m, const TGltfPoint& d) {
    TGltfPoint r;
    for (int row = 0; row < 3; ++row)
        r[static_cast<std::size_t>(row)] =
            m.at(row, 0) * d[0] + m.at(row, 1) * d[1] + m.at(row, 2) * d[2];
    return r;
}

double Determinant3(const TGltfMatrix& m) {
    return m.at(0, 0) * (m.at(1, 1) * m.at(2, 2) - m.at(1, 2) * m.at(2, 1)) -
           m.at(0, 1) * (m.at(1, 0) * m.at(2, 2) - m.at(1, 2) * m.at(2, 0)) +
           m.at(0, 2) * (m.at(1, 0) * m.at(2, 1) - m.at(1, 1) * m.at(2, 0));
}

TGltfMatrix NormalMatrix(const TGltfMatrix& m) {
    const double det = Determinant3(m);
    TGltfMatrix n;
    if (!(std::fabs(det) > 1e-12)) return n;
    // The cofactor matrix is the inverse transpose times the determinant; the sign is kept so
    // that a mirroring node still turns its normals outwards.
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            n.at(r, c) = (m.at(r1, c1) * m.at(r2, c2) - m.at(r1, c2) * m.at(r2, c1)) / det;
        }
    return n;
}

TGltfMatrix LocalMatrix(const TGltfNodePose& pose) {
    if (pose.hasMatrix) return pose.matrix;
    auto [x, y, z, w] = pose.rotation;
    const double length = std::sqrt(x * x + y * y + z * z + w * w);
    if (length > 0) {
        x /= length, y /= length, z /= length, w /= length;
    } else {
        w = 1;
    }
    const double rot[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                              {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                              {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    TGltfMatrix m;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            m.at(r, c) = rot[r][c] * pose.scale[static_cast<std::size_t>(c)];
        m.at(r, 3) = pose.translation[static_cast<std::size_t>(r)];
    }
    return m;
}

TGltfScene::TGltfScene(const tinygltf::Model& model)
    : model_(model), parents_(model.nodes.size(), -1) {
    const int nodeCount = static_cast<int>(model.nodes.size());
    for (int n = 0; n < nodeCount; ++n) {
        for (int child : model.nodes[static_cast<std::size_t>(n)].children) {
            if (child < 0 || child >= nodeCount)
                throw TGltfRefusal("node " + std::to_string(n) + " names child " +
                                   std::to_string(child) + ", which does not exist");
            if (parents_[static_cast<std::size_t>(child)] >= 0 || child == n)
                throw TGltfRefusal("node " + std::to_string(child) + " has more than one parent");
            parents_[static_cast<std::size_t>(child)] = n;
        }
    }
    std::vector<int> roots;
    const int sceneIndex = model.defaultScene >= 0 ? model.defaultScene : 0;
    if (!model.scenes.empty()) {
        if (sceneIndex >= static_cast<int>(model.scenes.size()))
            throw TGltfRefusal("scene " + std::to_string(sceneIndex) + " does not exist");
        roots = model.scenes[static_cast<std::size_t>(sceneIndex)].nodes;
    } else {
        // A file without scenes shows every tree.
        for (int n = 0; n < nodeCount; ++n)
            if (parents_[static_cast<std::size_t>(n)] < 0) roots.push_back(n);
    }
    std::vector<bool> seen(model.nodes.size(), false);
    for (int root : roots) {
        if (root < 0 || root >= nodeCount)
            throw TGltfRefusal("the scene names node " + std::to_string(root) +
                               ", which does not exist");
        if (parents_[static_cast<std::size_t>(root)] >= 0 || seen[static_cast<std::size_t>(root)])
            throw TGltfRefusal("the scene names node " + std::to_string(root) +
                               ", which is no root node");
        // Breadth first from the root; every node has one parent, so each is met once and a
        // cycle (which has no root) is never entered.
        std::size_t next = order_.size();
        order_.push_back(root);
        seen[static_cast<std::size_t>(root)] = true;
        while (next < order_.size()) {
            const int n = order_[next++];
            for (int child : model.nodes[static_cast<std::size_t>(n)].children) {
                seen[static_cast<std::size_t>(child)] = true;
                order_.push_back(child);
            }
        }
    }
}

std::vector<TGltfNodePose> TGltfScene::RestPoses() const {
    std::vector<TGltfNodePose> poses(model_.nodes.size());
    for (std::size_t n = 0; n < model_.nodes.size(); ++n) {
        const tinygltf::Node& node = model_.nodes[n];
        TGltfNodePose& pose = poses[n];
        if (node.matrix.size() == 16) {
            pose.hasMatrix = true;
            for (std::size_t i = 0; i < 16; ++i)
                pose.matrix.m[i] = node.matrix[i];
        }
        if (node.translation.size() == 3)
            pose.translation = {node.translation[0], node.translation[1], node.translation[2]};
        if (node.rotation.size() == 4)
            pose.rotation = {node.rotation[0], node.rotation[1], node.rotation[2],
                             node.rotation[3]};
        if (node.scale.size() == 3) pose.scale = {node.scale[0], node.scale[1], node.scale[2]};
        if (!node.weights.empty()) {
            pose.weights = node.weights;
        } else if (node.mesh >= 0 && static_cast<std::size_t>(node.mesh) < model_.meshes.size()) {
            pose.weights = model_.meshes[static_cast<std::size_t>(node.mesh)].weights;
        }
        for (double v : pose.matrix.m)
            if (!std::isfinite(v))
                throw TGltfRefusal("node " + std::to_string(n) +
                                   " has a matrix that is not finite");
        for (double v : {pose.translation[0], pose.translation[1], pose.translation[2],
                         pose.rotation[0], pose.rotation[1], pose.rotation[2], pose.rotation[3],
                         pose.scale[0], pose.scale[1], pose.scale[2]})
            if (!std::isfinite(v))
                throw TGltfRefusal("node " + std::to_string(n) +
                                   " has a transform that is not finite");
    }
    return poses;
}

void TGltfScene::WorldMatrices(const std::vector<TGltfNodePose>& poses,
                               std::vector<TGltfMatrix>& world) const {
    world.assign(model_.nodes.size(), TGltfMatrix{});
    for (int n : order_) {
        const int parent = parents_[static_cast<std::size_t>(n)];
        const TGltfMatrix local = LocalMatrix(poses[static_cast<std::size_t>(n)]);
        world[static_cast<std::size_t>(n)] =
            parent < 0 ? local : world[static_cast<std::size_t>(parent)] * local;
    }
}
