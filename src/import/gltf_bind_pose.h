// The bind pose of a player for skinning in other tools. An MDM vertex is not a position but
// a weighted set of offsets, one in each bone's frame; a glTF vertex is one position with one
// inverse bind matrix per joint. The two agree exactly only in a pose where every offset of a
// vertex lands on the same point. The game's meshes were made in such a pose, but no file
// keeps it, so it is fitted: starting from the animation frame where the offsets agree best,
// each bone is moved to the rigid placement that best carries its offsets onto the vertices'
// mean positions (a weighted least-squares fit), and the means are taken again, until they
// settle.
#pragma once

#include <optional>
#include <vector>

#include "import/gltf_axes.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "skeletal/pose_buffers.h"

struct TBindPose {
    std::vector<TGameFrame> bones;                 // each bone's frame in game coordinates
    std::vector<std::vector<TVector3>> positions;  // per surface and vertex, game coordinates
    std::vector<std::vector<TVector3>> normals;    // the same, unit length
    // How far the farthest offset of any vertex lands from its bound position, and the mean
    // of that distance over the vertices: what skinning in another tool is off by at most.
    double largestGap = 0.0;
    double meanGap = 0.0;
};

// The frame of bone `b` in game coordinates from a pose (skeletal_pose.h).
TGameFrame GameBoneFrame(const TSkeletalPoseBuffers& pose, std::size_t b);

// Nothing for an animation without frames. The mesh's pose buffers are overwritten.
std::optional<TBindPose> FitBindPose(TMDM& mesh, const TMDX& anim);
