// What posing one MDM surface at one MDX frame produces, in the pose's display coordinates
// (see skeletal_pose.h). The buffers keep their memory between poses and are re-sized only
// when a count changes.
#pragma once

#include <array>
#include <vector>

#include "math/matrix.h"
#include "math/vector.h"

struct TSkeletalPoseBuffers {
    std::vector<TVector3> bonePositions;           // one per bone
    std::vector<TMatrix4> boneMatrices;            // one per bone
    std::vector<TMatrix4> inverseBoneMatrices;     // one per bone
    std::vector<TVector3> vertexPositions;         // one per vertex of the posed surface
    std::vector<TVector3> vertexNormals;           // one per vertex; not normalized
    std::vector<TVector3> tagOrigins;              // one per tag
    std::vector<std::array<TVector3, 3>> tagAxes;  // three axis rows per tag
};
