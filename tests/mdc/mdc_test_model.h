// Animated one-surface models built in memory, for the MDC tests.
#pragma once

#include <functional>

#include "md3/md3.h"

namespace mdc_test {

// Position of vertex v in frame f, in model units.
using Motion = std::function<TVector3(int f, int v)>;

// numVerts vertices in a strip of triangles, placed by `motion` in every frame, with normals
// that turn from vertex to vertex.
TMD3 MakeAnimated(int numFrames, int numVerts, const Motion& motion);

}  // namespace mdc_test
