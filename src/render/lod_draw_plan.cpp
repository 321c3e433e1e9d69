#include "render/lod_draw_plan.h"

#include "lod/collapse_map.h"

void AppendLodTriangles(const TMDMSurface& surface, const std::vector<TVector3>& positions,
                        std::int32_t vertexCount, std::vector<TVector3>& corners) {
    if (!CollapseMapSound(surface) || surface.collapseMap.size() != positions.size()) return;
    const auto count = static_cast<std::int64_t>(positions.size());
    for (const TMDMTriangle& tri : surface.triangles) {
        std::int32_t mapped[3];
        bool inside = true;
        for (int i = 0; i < 3; ++i) {
            mapped[i] = TCollapseMap::MapVertex(surface, tri.indexes[i], vertexCount);
            inside = inside && mapped[i] >= 0 && mapped[i] < count;
        }
        if (!inside || mapped[0] == mapped[1] || mapped[1] == mapped[2] || mapped[0] == mapped[2])
            continue;
        for (int i = 2; i >= 0; --i)
            corners.push_back(positions[static_cast<std::size_t>(mapped[i])]);
    }
}
