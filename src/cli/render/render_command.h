// `veldra-cli render`: draws a model offscreen with the program's own scene drawing and
// writes the picture as PNG or TGA, transparent where the model is not.
#pragma once

#include <string>

struct TRenderOptions {
    std::string model;
    std::string output;
    int width = 512;
    int height = 512;
    int frame = 0;
    float yaw = 30.0f;    // degrees about the model's Z axis
    float pitch = 20.0f;  // degrees the view looks down from the horizon
    bool wireframe = false;
    bool lighting = true;
};

// Parses "WxH" into width and height; false for anything else or sizes outside 1..8192.
bool ParseRenderSize(const std::string& text, int& width, int& height);

int RunRender(const TRenderOptions& options);
