#include "mdc_test_model.h"

#include <cmath>
#include <cstring>

namespace mdc_test {

TMD3 MakeAnimated(int numFrames, int numVerts, const Motion& motion) {
    TMD3 model;
    THeader& h = model.header;
    std::memcpy(h.ident, kMD3Ident, 4);
    h.version = kMD3Version;
    SetName64("animated", h.name);
    h.numFrames = numFrames;
    h.frames.resize(static_cast<std::size_t>(numFrames));
    h.numSurfaces = 1;
    h.surfaces.resize(1);
    TSurface& s = h.surfaces[0];
    std::memcpy(s.ident, kMD3Ident, 4);
    SetName64("body", s.name);
    s.numFrames = numFrames;
    s.numShaders = 1;
    s.shaders.resize(1);
    SetName64("textures/body", s.shaders[0].name);
    s.numVerts = numVerts;
    s.texCoords.resize(static_cast<std::size_t>(numVerts));
    s.numTriangles = numVerts > 2 ? numVerts - 2 : 0;
    for (int v = 0; v + 2 < numVerts; ++v)
        s.triangles.push_back({{v, v + 1, v + 2}});
    int clamped = 0;
    for (int f = 0; f < numFrames; ++f) {
        for (int v = 0; v < numVerts; ++v) {
            const TVector3 p = motion(f, v);
            const float a = 0.37f * v + 0.11f * f;
            s.vertices.push_back({StoredCoordinate(p.x, clamped), StoredCoordinate(p.y, clamped),
                                  StoredCoordinate(p.z, clamped),
                                  EncodeNormal(std::cos(a), std::sin(a), 0.3f)});
        }
    }
    return model;
}

}  // namespace mdc_test
