// The one place where the game's axes meet glTF's. The game stands models on z; glTF stands
// them on y. Every position, direction and transform crosses with the same -90 degree turn
// about X: glTF (x, y, z) = game (x, z, -y). The turn keeps handedness, so windings, normals
// and rotations need nothing else.
#pragma once

#include <array>

#include "math/matrix.h"
#include "math/vector.h"

inline TVector3 GltfFromGame(TVector3 v) {
    return {v.x, v.z, -v.y};
}

inline TVector3 GameFromGltf(TVector3 v) {
    return {v.x, -v.z, v.y};
}

// A rotation as glTF stores it: x, y, z, w.
using TGltfQuaternion = std::array<double, 4>;

// A rigid placement in game coordinates as the game writes tags: the origin, and three rows
// that are the images of the x, y and z axes (row vectors, as the program's matrices).
struct TGameFrame {
    TVector3 origin = kVectorZero;
    TVector3 axis[3] = {kVectorPosX, kVectorPosY, kVectorPosZ};
};

// The rotation of the frame's axes, turned into glTF's axes. Axes that are not quite
// orthonormal (tags written by hand, rounding in files) are straightened first: x kept, y
// made perpendicular to it, z their cross product; degenerate axes give no rotation.
TGltfQuaternion GltfRotationFromGame(const TVector3 (&axis)[3]);

// Composition and inversion of rigid frames: a point p of `local` lands at
// p * local * parent (row vectors).
TGameFrame FrameInParent(const TGameFrame& local, const TGameFrame& parent);
TGameFrame InverseFrame(const TGameFrame& frame);

// The frame as a glTF matrix (column-major, column vectors), in glTF's axes.
std::array<float, 16> GltfMatrixFromGame(const TGameFrame& frame);
