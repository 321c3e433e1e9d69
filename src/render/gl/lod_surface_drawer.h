// The LOD preview of a skeletal model: every surface posed and reduced to the LOD minimum of
// its LOD display entry, drawn white and untextured.
#pragma once

#include "skeletal/mdm.h"
#include "skeletal/skeletal_poser.h"

// Draws the surfaces at the frame of the poser's last PoseFrame. Surfaces past the 32 entries
// of the LOD display table are drawn whole; those with a broken collapse map not at all.
void DrawLodSurfaces(TMDM& mesh, const TSkeletalPoser& poser);
