// The render context's way to the texture store, which lives apart from it so that the
// context can be built and tested without the image decoders.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct TTextureHooks {
    // Loads an image (found through the store's search folders) brightened by `gamma`;
    // returns the GL texture name, 0 when nothing could be made.
    std::function<std::uint32_t(const std::string& path, float gamma)> loadWithGamma;
    // Deletes one texture made by loadWithGamma.
    std::function<void(std::uint32_t texture)> deleteTexture;
    // Deletes every texture of the store; called while the context is still current.
    std::function<void()> freeAll;
};
