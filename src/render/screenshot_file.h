// Screenshot files: a 32-bit TGA built from the model's colour and opacity, saved under the first
// free name "screenshot<N>.tga" in a folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The TGA bytes for a view of width x height: `rgb` holds 3 bytes per pixel and `alpha` one
// byte per pixel, both bottom row first with no row padding.
std::vector<std::uint8_t> BuildScreenshotTga(int width, int height,
                                             const std::vector<std::uint8_t>& rgb,
                                             const std::vector<std::uint8_t>& alpha);

// The smallest N from 0 up for which `folder`/screenshot<N>.tga does not exist.
int NextScreenshotNumber(const std::string& folder);

std::string ScreenshotFileName(int number);  // "screenshot<N>.tga"
