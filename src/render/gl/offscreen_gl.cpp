#include "render/gl/offscreen_gl.h"

#include <GL/gl.h>

#include <cstring>

TPixelImage ReadFramebufferPixels(int width, int height) {
    TPixelImage image;
    if (width <= 0 || height <= 0) return image;
    image.width = width;
    image.height = height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height));
    GLint oldAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, oldAlignment);
    image.rgba.resize(bottomUp.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(image.rgba.data() + static_cast<std::size_t>(y) * rowBytes,
                    bottomUp.data() + static_cast<std::size_t>(height - 1 - y) * rowBytes,
                    rowBytes);
    return image;
}
