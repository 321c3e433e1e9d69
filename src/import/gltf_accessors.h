// Accessors for a glTF document whose binary data all live in its first buffer, appended in
// the order they are made. Each accessor gets a view of its own, aligned to four bytes, so
// vertex data, indices and animation data never share a view.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "import/gltf_library.h"
#include "math/vector.h"

// Appends bytes to buffer 0 (made when missing) as a view of their own; the view's index.
// `target`: TINYGLTF_TARGET_ARRAY_BUFFER, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER or 0.
int AddGltfView(tinygltf::Model& model, const void* data, std::size_t bytes, int target);

// Float accessors. Positions carry the min and max glTF requires of them (`withBounds`), and
// so do animation times.
int AddGltfVec3Accessor(tinygltf::Model& model, std::span<const TVector3> values, bool withBounds,
                        int target = TINYGLTF_TARGET_ARRAY_BUFFER);
int AddGltfVec2Accessor(tinygltf::Model& model, std::span<const std::array<float, 2>> values);
int AddGltfVec4Accessor(tinygltf::Model& model, std::span<const std::array<float, 4>> values,
                        int target = TINYGLTF_TARGET_ARRAY_BUFFER);
int AddGltfScalarAccessor(tinygltf::Model& model, std::span<const float> values, bool withBounds);
int AddGltfMat4Accessor(tinygltf::Model& model, std::span<const std::array<float, 16>> values);

// Triangle indices, as 16-bit numbers when every index fits, else 32-bit.
int AddGltfIndexAccessor(tinygltf::Model& model, std::span<const std::uint32_t> indices);

// Four joint numbers per vertex.
int AddGltfJointsAccessor(tinygltf::Model& model,
                          std::span<const std::array<std::uint16_t, 4>> joints);

// Animation times for `count` frames played at `fps`, starting at 0.
int AddGltfFrameTimes(tinygltf::Model& model, std::size_t count, double fps);
