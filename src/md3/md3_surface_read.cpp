#include "md3/md3_surface_read.h"

std::string CompleteSurfaceAsRead(TSurface& surface, std::int32_t numVerts,
                                  const std::string& what) {
    for (const TMD3Triangle& tri : surface.triangles) {
        for (std::int32_t v : tri.indexes) {
            if (v < 0 || v >= numVerts) {
                return what + " has a triangle that refers to vertex " + std::to_string(v) +
                       " of " + std::to_string(numVerts);
            }
        }
    }
    if (surface.shaders.empty()) {
        surface.numShaders = 1;
        surface.shaders.resize(1);
    }
    surface.shadersAsRead = surface.shaders;
    surface.texCoordTAsRead.resize(surface.texCoords.size());
    for (std::size_t v = 0; v < surface.texCoords.size(); ++v) {
        surface.texCoordTAsRead[v] = surface.texCoords[v].t;
        surface.texCoords[v].t = 1.0f - surface.texCoords[v].t;
    }
    return {};
}
