#include "lod_meshes.h"

namespace {

// A small, fixed generator: the same meshes on every machine and library.
class Lcg {
  public:
    explicit Lcg(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    std::uint32_t Next(std::uint32_t below) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % below;
    }

  private:
    std::uint32_t state_;
};

}  // namespace

LodMesh LodGridMesh(int columns, int rows, float bump, std::uint32_t seed) {
    LodMesh mesh;
    Lcg random(seed);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const float z = bump * static_cast<float>(random.Next(5));
            mesh.positions.push_back({static_cast<float>(x), static_cast<float>(y), z});
        }
    }
    for (int y = 0; y + 1 < rows; ++y) {
        for (int x = 0; x + 1 < columns; ++x) {
            const std::int32_t a = y * columns + x, b = a + 1, c = a + columns, d = c + 1;
            if ((x + y) % 2 == 0) {
                mesh.triangles.push_back({{a, b, d}});
                mesh.triangles.push_back({{a, d, c}});
            } else {
                mesh.triangles.push_back({{a, b, c}});
                mesh.triangles.push_back({{b, d, c}});
            }
        }
    }
    return mesh;
}

LodMesh LodRandomMesh(int vertices, int triangles, std::uint32_t seed) {
    LodMesh mesh;
    Lcg random(seed);
    for (int i = 0; i < vertices; ++i) {
        mesh.positions.push_back({static_cast<float>(random.Next(4)),
                                  static_cast<float>(random.Next(4)),
                                  static_cast<float>(random.Next(3))});
    }
    const auto n = static_cast<std::uint32_t>(vertices);
    for (int i = 0; i < triangles; ++i) {
        mesh.triangles.push_back(
            {{static_cast<std::int32_t>(random.Next(n)), static_cast<std::int32_t>(random.Next(n)),
              static_cast<std::int32_t>(random.Next(n))}});
    }
    return mesh;
}
