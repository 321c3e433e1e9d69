// Reading a glTF accessor's numbers out of its buffers with every offset, stride and count
// checked against the bytes that are there, sparse substitutions applied, normalized integers
// scaled to their range, and numbers that are not finite refused.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tinygltf {
class Model;
}

// The most numbers one accessor may hold (elements times components): a model past it is no
// game model, and a few bytes of a hostile file must not become gigabytes of zeros.
inline constexpr std::size_t kGltfMaxAccessorValues = std::size_t{1} << 24;

// The accessor's elements as floats, `components` per element (1 for SCALAR ... 16 for MAT4);
// integer components are taken as they are, or scaled to [0, 1] or [-1, 1] when the accessor
// says they are normalized. Throws TGltfRefusal naming `what` when the accessor does not exist,
// is not of that shape, reaches past its buffer, holds too many elements or a number that is
// not finite.
std::vector<float> ReadGltfFloats(const tinygltf::Model& model, int accessor, int components,
                                  const std::string& what);

// The elements of an unsigned integer accessor (indices, joint numbers), `components` per
// element, with the same checks.
std::vector<std::uint32_t> ReadGltfUnsigned(const tinygltf::Model& model, int accessor,
                                            int components, const std::string& what);

// The number of elements of an accessor, checked to be within the budget.
std::size_t GltfAccessorCount(const tinygltf::Model& model, int accessor, const std::string& what);
