// Byte-level helpers for MD3 tests: patch fields of a file image and lay a model out in
// orders and with gaps that the writer itself never produces.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "md3/md3.h"
#include "support/byte_patch.h"

namespace md3_test {

using testing_support::Bytes;
using testing_support::GetI32;
using testing_support::PutI32;

// Offsets of header fields.
inline constexpr std::size_t kNumFrames = 76, kNumTags = 80, kNumSurfaces = 84, kOfsFrames = 92,
                             kOfsTags = 96, kOfsSurfaces = 100, kOfsEnd = 104;
// Offsets of surface header fields, relative to the surface.
inline constexpr std::size_t kSurfNumFrames = 72, kSurfNumShaders = 76, kSurfNumVerts = 80,
                             kSurfNumTriangles = 84, kSurfOfsTriangles = 88, kSurfOfsShaders = 92,
                             kSurfOfsST = 96, kSurfOfsXyz = 100, kSurfOfsEnd = 104;

struct LayoutOptions {
    bool surfacesBeforeFrames = false;  // frames and tags after the surfaces
    bool trianglesBeforeShaders = false;
    bool vertsBeforeTexCoords = false;
    int gapBetweenSurfaces = 0;  // junk bytes after each surface's ofsEnd
    bool writeShaders = true;    // false: numShaders 0 and no records
};

// Lays out `model` as a file other tools might write. Texture t is flipped to file form.
Bytes LayOut(const TMD3& model, const LayoutOptions& options);

// Deep comparison of two models, texture t within `tEpsilon`.
void ExpectSameModel(const TMD3& a, const TMD3& b, float tEpsilon = 0.0f);

}  // namespace md3_test
