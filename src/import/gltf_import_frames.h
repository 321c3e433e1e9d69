// Which moments of a glTF file become frames: the chosen animation sampled at the game's
// frame rate, cut to the chosen range; the rest pose alone for a file without animations.
#pragma once

#include <optional>
#include <vector>

#include "import/gltf_import.h"
#include "import/gltf_import_animation.h"

struct TGltfFrames {
    std::optional<TGltfAnimation> animation;
    std::vector<double> times;  // seconds, one per frame

    // The nodes' transforms at frame `frame`.
    std::vector<TGltfNodePose> Poses(const TGltfScene& scene, std::size_t frame) const;
};

// Throws TGltfRefusal for an animation name the file does not have (naming those it has), a
// range outside the sampled frames, or more frames than `maxFrames`, which `kind` holds.
TGltfFrames ChooseGltfFrames(const tinygltf::Model& model, const TGltfImportChoice& choice,
                             std::size_t maxFrames, const char* kind);
