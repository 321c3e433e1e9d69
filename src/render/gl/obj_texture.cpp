#include "render/gl/obj_texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "image/texture_image.h"

namespace {

// 0 when no texture name could be had.
std::uint32_t Upload(const TextureImage& t) {
    glEnable(GL_TEXTURE_2D);
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, name);
    const Image& image = t.image;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    // An image too large for a single level goes through the mipmap builder, which scales it.
    const bool fits = image.width <= maxSize && image.height <= maxSize;
    if (t.buildMipmaps || !fits) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        const GLint components = t.internalFormat == TextureFormat::kRGB ? 3 : 4;
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, image.width, image.height, GL_RGBA,
                          GL_UNSIGNED_BYTE, image.pixels.data());
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, image.pixels.data());
    }
    return name;
}

}  // namespace

std::uint32_t TObjTexture::LoadTexture(const std::string& path) {
    std::string resolved = path;
    if (!paths_.ResolvePath(resolved)) return 0;
    if (const auto cached = FindCached(resolved)) return *cached;
    TextureImageResult decoded = DecodeImageFile(resolved);
    if (!decoded) return 0;
    TextureImage& t = *decoded.texture;
    lastHasAlpha_ = t.image.hasAlpha;
    gamma_.Apply(t.image);
    const std::uint32_t texture = Upload(t);
    if (texture == 0) return 0;
    cache_.push_back({resolved, texture, t.image.hasAlpha, t.image.width, t.image.height});
    return texture;
}

std::uint32_t TObjTexture::LoadTextureWithGamma(const std::string& path, float gamma) {
    SetGamma(gamma);
    std::uint32_t texture = 0;
    try {
        texture = LoadTexture(path);
    } catch (...) {
        SetGamma(1.0f);
        throw;
    }
    SetGamma(1.0f);
    return texture;
}

std::optional<std::uint32_t> TObjTexture::FindCached(const std::string& resolvedPath) const {
    for (const TTextureCacheEntry& e : cache_) {
        if (e.path == resolvedPath) return e.texture;
    }
    return std::nullopt;
}

bool TObjTexture::TextureHasAlpha(std::uint32_t texture) const {
    for (const TTextureCacheEntry& e : cache_) {
        if (e.texture == texture) return e.hasAlpha;
    }
    return false;
}

void TObjTexture::DeleteTexture(std::uint32_t texture) {
    if (texture == 0) return;
    if (glIsTexture(texture)) {
        const GLuint name = texture;
        glDeleteTextures(1, &name);
    }
    const auto it =
        std::find_if(cache_.begin(), cache_.end(),
                     [texture](const TTextureCacheEntry& e) { return e.texture == texture; });
    if (it != cache_.end()) cache_.erase(it);
}

void TObjTexture::FreeAllTextures() {
    for (const TTextureCacheEntry& e : cache_) {
        if (glIsTexture(e.texture)) {
            const GLuint name = e.texture;
            glDeleteTextures(1, &name);
        }
    }
    cache_.clear();
}

void ReloadStageTextures(TShaders& shaders, TObjTexture& textures, float gamma) {
    for (TShaderObj& shader : shaders.shaders) {
        for (TShaderTexture& stage : shader.stages) {
            if (stage.texturePath.empty() || stage.texture == 0) continue;
            std::vector<std::uint32_t>& frames = stage.effects.animFrameTextures;
            for (const std::uint32_t frame : frames) {
                if (frame != stage.texture) textures.DeleteTexture(frame);
            }
            textures.DeleteTexture(stage.texture);
            stage.texture = textures.LoadTextureWithGamma(stage.texturePath, gamma);
            const std::vector<std::string>& paths = stage.effects.animFramePaths;
            for (std::size_t i = 0; i < frames.size() && i < paths.size(); ++i) {
                if (frames[i] != 0) frames[i] = textures.LoadTextureWithGamma(paths[i], gamma);
            }
        }
    }
}

TTextureHooks TextureHooksFor(TObjTexture& textures) {
    TTextureHooks hooks;
    hooks.loadWithGamma = [&textures](const std::string& path, float gamma) {
        return textures.LoadTextureWithGamma(path, gamma);
    };
    hooks.deleteTexture = [&textures](std::uint32_t texture) { textures.DeleteTexture(texture); };
    hooks.freeAll = [&textures] { textures.FreeAllTextures(); };
    return hooks;
}
