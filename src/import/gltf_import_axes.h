// The one turn between glTF's axes and the game's: glTF is Y-up with +Z towards the viewer,
// the game Z-up. A glTF point (x, y, z) is the game's (x, -z, y), and game (x, y, z) is glTF's
// (x, z, -y); the export turns the other way, so a model makes the round trip unchanged.
#pragma once

#include "import/gltf_import_scene.h"
#include "md3/md3_format.h"

inline TVector3 GameFromGltf(const TGltfPoint& p) {
    return {static_cast<float>(p[0]), static_cast<float>(-p[2]), static_cast<float>(p[1])};
}

// The tag a node stands for: its world origin and the game's forward, left and up axes carried
// by the node's rotation (scale and shear taken out). `scale` is applied to the origin.
TMD3Tag GameTagFromGltf(const TGltfMatrix& world, float scale);
