// The size of a texture image without making a texture of it.
#pragma once

#include <optional>
#include <string>

#include "image/texture_paths.h"

struct ImageSize {
    std::string extension;  // upper case: ".TGA", ".JPG" or ".BMP"
    int width = 0;
    int height = 0;
};

// Resolves `path` through the search folders and reads the size of the file found: the
// header fields of a TGA, the frame header of a JPEG, the decoded size of a BMP. Nothing
// when the path does not resolve, the extension is not one of the three, or any read fails
// (an unreadable file included).
std::optional<ImageSize> ReadImageSize(const TexturePaths& paths, const std::string& path);

// The same for a path already resolved.
std::optional<ImageSize> ReadImageFileSize(const std::string& fileName);
