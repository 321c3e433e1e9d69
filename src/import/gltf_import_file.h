// Reading a glTF file, binary (.glb) or text (.gltf), into the library's model. The buffers a
// text file names beside itself are read with the program's own checked reader, and only from
// inside the file's folder: a file cannot make the import read anything else on the disk.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tinygltf {
class Model;
}

// The largest glTF file, and buffer beside it, an import reads.
inline constexpr std::int64_t kGltfMaxFileBytes = std::int64_t{256} << 20;

// Reads `fileName`. Throws FileError when it cannot be opened; false with the reason in
// `message` for anything else.
bool LoadGltfFile(const std::string& fileName, tinygltf::Model& model, std::string& message);

// The same from bytes in memory. Buffers are read from `folder` when it is not empty, else a
// file that names any outside buffer is refused.
bool LoadGltfBytes(std::span<const std::uint8_t> bytes, const std::string& folder,
                   tinygltf::Model& model, std::string& message);
