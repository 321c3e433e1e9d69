#include "render/screenshot_file.h"

#include <filesystem>

std::vector<std::uint8_t> BuildScreenshotTga(int width, int height,
                                             const std::vector<std::uint8_t>& rgb,
                                             const std::vector<std::uint8_t>& alpha) {
    const std::size_t pixels = static_cast<std::size_t>(width > 0 ? width : 0) *
                               static_cast<std::size_t>(height > 0 ? height : 0);
    std::vector<std::uint8_t> out(18 + pixels * 4, 0);
    out[2] = 2;  // uncompressed true colour
    out[12] = static_cast<std::uint8_t>(width & 0xFF);
    out[13] = static_cast<std::uint8_t>((width >> 8) & 0xFF);
    out[14] = static_cast<std::uint8_t>(height & 0xFF);
    out[15] = static_cast<std::uint8_t>((height >> 8) & 0xFF);
    out[16] = 32;
    // Descriptor 3, as earlier screenshots carried it; bit 5 is clear, so rows run bottom-up.
    out[17] = 3;
    if (rgb.size() < pixels * 3 || alpha.size() < pixels) return out;
    std::uint8_t* p = out.data() + 18;
    for (std::size_t i = 0; i < pixels; ++i, p += 4) {
        p[0] = rgb[i * 3 + 2];
        p[1] = rgb[i * 3 + 1];
        p[2] = rgb[i * 3];
        p[3] = alpha[i];
    }
    return out;
}

int NextScreenshotNumber(const std::string& folder) {
    std::error_code ec;
    int n = 0;
    while (std::filesystem::exists(std::filesystem::path(folder) / ScreenshotFileName(n), ec))
        ++n;
    return n;
}

std::string ScreenshotFileName(int number) {
    return "screenshot" + std::to_string(number) + ".tga";
}
