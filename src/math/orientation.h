// A placed frame of reference, as the game places a model on another model's tag: an origin
// and three axis rows (forward, left, up of the placed model in the parent's space).
#pragma once

#include "math/matrix.h"
#include "math/vector.h"

struct TOrientation {
    TVector3 origin = kVectorZero;
    TVector3 axis[3] = {kVectorPosX, kVectorPosY, kVectorPosZ};
};

// The frame of a model placed on `tag` of a parent placed at `parent`: the tag's origin
// carried along the parent's axes, and the tag's axes turned by them.
TOrientation PositionOnTag(const TOrientation& parent, const TOrientation& tag);

// The same frame as a matrix for row vectors (glMultMatrixf before drawing the model).
TMatrix4 OrientationMatrix(const TOrientation& o);
