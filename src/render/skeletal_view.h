// What the view needs of a posed skeletal model besides drawing it: the box that a view reset
// fits, and the tag chosen as the centre of rotation. Both are in the game's coordinates, in
// which the drawing shows the model (see skeletal/skeletal_orientation.h).
#pragma once

#include <optional>
#include <vector>

#include "math/orientation.h"
#include "math/vector.h"
#include "render/attached_models.h"
#include "render/view_control.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "skeletal/skeletal_poser.h"

// Every surface's vertices posed at `frame`; empty for a frame the animation does not have.
std::vector<TVector3> SkeletalFrameVertexPositions(TMDM& mesh, const TMDX& anim, int frame,
                                                   TSkeletalPoser& poser);

// The box around every surface posed at `frame`; without any vertex, the animation's stored
// bounds of that frame. Nothing for a frame the animation does not have.
std::optional<TBounds> SkeletalFrameBounds(TMDM& mesh, const TMDX& anim, int frame,
                                           TSkeletalPoser& poser);

// Where tag `tag` lies at `frame`; nothing for a tag or frame that does not exist.
std::optional<TVector3> SkeletalTagOrigin(TMDM& mesh, const TMDX& anim, int frame, int tag,
                                          TSkeletalPoser& poser);

// Tag `tag`'s origin and axes at `frame`; nothing for a tag or frame that does not exist.
std::optional<TOrientation> SkeletalTagOrientation(TMDM& mesh, const TMDX& anim, int frame, int tag,
                                                   TSkeletalPoser& poser);

// Where each attached model goes on the body posed at `frame` (see PlaceAttachedModels); the
// frame is posed once for all of them.
std::vector<std::optional<TOrientation>> PlaceOnPosedBody(const TAttachedModels& models, TMDM& mesh,
                                                          const TMDX& anim, int frame,
                                                          TSkeletalPoser& poser);
