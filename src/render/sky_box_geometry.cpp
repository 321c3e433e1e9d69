#include "render/sky_box_geometry.h"

namespace {
constexpr float a = kSkyBoxHalfWidth;
constexpr float h = kSkyBoxHalfHeight;
}  // namespace

const std::array<TVector3, 12> kSkyBoxCorners = {{
    {-a, 0, a},
    {a, 0, a},
    {a, h, a},
    {-a, h, a},
    {-a, 0, -a},
    {a, 0, -a},
    {a, h, -a},
    {-a, h, -a},
    {-a, -h, a},
    {a, -h, a},
    {-a, -h, -a},
    {a, -h, -a},
}};

const std::array<TSkyQuad, 10> kSkyBoxQuads = {{
    {TSkyFace::kLeft, {1, 0, 0}, {{{0, 0, 0.5f}, {4, 1, 0.5f}, {7, 1, 1}, {3, 0, 1}}}},
    {TSkyFace::kLeft, {1, 0, 0}, {{{8, 0, 0}, {10, 1, 0}, {4, 1, 0.5f}, {0, 0, 0.5f}}}},
    {TSkyFace::kRight, {-1, 0, 0}, {{{5, 0, 0.5f}, {1, 1, 0.5f}, {2, 1, 1}, {6, 0, 1}}}},
    {TSkyFace::kRight, {-1, 0, 0}, {{{11, 0, 0}, {9, 1, 0}, {1, 1, 0.5f}, {5, 0, 0.5f}}}},
    {TSkyFace::kBottom, {0, 1, 0}, {{{10, 0, 0}, {8, 1, 0}, {9, 1, 1}, {11, 0, 1}}}},
    {TSkyFace::kTop, {0, -1, 0}, {{{6, 0, 0}, {2, 1, 0}, {3, 1, 1}, {7, 0, 1}}}},
    {TSkyFace::kFront, {0, 0, 1}, {{{1, 0, 0.5f}, {0, 1, 0.5f}, {3, 1, 1}, {2, 0, 1}}}},
    {TSkyFace::kFront, {0, 0, 1}, {{{9, 0, 0}, {8, 1, 0}, {0, 1, 0.5f}, {1, 0, 0.5f}}}},
    {TSkyFace::kBack, {0, 0, -1}, {{{4, 0, 0.5f}, {5, 1, 0.5f}, {6, 1, 1}, {7, 0, 1}}}},
    {TSkyFace::kBack, {0, 0, -1}, {{{10, 0, 0}, {11, 1, 0}, {5, 1, 0.5f}, {4, 0, 0.5f}}}},
}};

std::array<std::string, kSkyFaceCount> SkyBoxFaceNames(const std::string& base) {
    return {base + "Left", base + "Right", base + "Bottom",
            base + "Top",  base + "Front", base + "Back"};
}
