// Framing for thumbnails: the pose that makes a model, turned to the chosen angles, fill the
// picture up to a small margin on its tighter axis without being clipped.
#pragma once

#include <vector>

#include "math/vector.h"
#include "md3/md3.h"

struct TThumbnailLens {
    double fieldOfViewDeg = 53.13;  // vertical
    double aspect = 1.0;            // width / height
    double nearClip = 1.0;
};

// The scene's model transform: translate by pan, rotate about X, then Y, then Z (as
// glRotatef does), translate by pivot; the camera stands on +Z and looks at the origin.
struct TThumbnailPose {
    TVector3 pivot;           // brings the centre of the vertices' box to the origin
    TVector3 rotationAngles;  // degrees about X, Y, Z
    TVector3 pan;             // centres the turned model's picture in the view
    float cameraDistance = 0.0f;
};

// Positions of one frame's vertices in model units; empty for a frame the model lacks and
// for a model without vertices (tags only).
std::vector<TVector3> FrameVertexPositions(const TMD3& model, int frame);

// The closest pose at which every point projects inside the picture with a small margin:
// the model is turned by yaw about its own Z axis, its front (+X) towards the viewer, and
// looked down on by pitch. Never closer than the near plane allows, nor so close that the
// far end of the model looks less than a fifth the size of its near end.
TThumbnailPose FitThumbnail(const std::vector<TVector3>& points, float yawDeg, float pitchDeg,
                            const TThumbnailLens& lens);
