// Animation channels of an export: sampled once per frame and interpolated linearly, as the
// game blends between frames.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "import/gltf_axes.h"
#include "import/gltf_library.h"

// Adds a channel driving `path` ("translation", "rotation", "weights") of `node` with a new
// linear sampler from the accessors `times` and `values`.
void AddGltfChannel(tinygltf::Animation& animation, int node, const char* path, int times,
                    int values);

// Turns each rotation of a track to the side of the one before it (q and -q are one turn), so
// that interpolation between neighbouring frames takes the short way round.
void KeepHemisphere(std::vector<std::array<float, 4>>& track);

// Translation and rotation of a node, as its default transform.
void SetNodeTransform(tinygltf::Node& node, TVector3 translationInGltf, const TGltfQuaternion& q);
