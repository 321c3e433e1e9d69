// Pose coordinates and game coordinates. The pose mirrors y on the way in and negates z on
// the way out, which leaves a player model turned 180 degrees about the X axis: head at
// z = -25, feet at +29. The game, and every MD3 model, is z-up and faces +X with its left side
// towards +Y. Everything that must stand like a game model (the MD3 export, the drawing of a
// posed model beside MD3 models) turns pose coordinates back with these; SkeletalPose itself
// stays in pose coordinates, which the normal recalculation and the LOD build on.
#pragma once

#include "math/matrix.h"
#include "math/vector.h"

// (x, y, z) -> (x, -y, -z): a rotation, so windings and handedness are kept.
inline TVector3 GameFromPose(TVector3 v) {
    return {v.x, -v.y, -v.z};
}

// The same as a matrix for row vectors in OpenGL memory order (glMultMatrixf before drawing
// posed vertices, bones and tags).
inline TMatrix4 GameFromPoseMatrix() {
    return MatrixSet(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1);
}
