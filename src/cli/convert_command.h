// `veldra-cli convert IN OUT`: reads IN and writes OUT in the format of OUT's extension.
#pragma once

#include <iostream>
#include <string>

struct TConvertOptions {
    bool scaleToFit = false;     // models beyond the MD3 range are scaled down, not refused
    std::string gameDir;         // game data for texture sizes
    bool splitSurfaces = false;  // imported surfaces past the MD3 limits are split, not refused
    // MilkShape and 3ds Max models only:
    float scale = 1.0f;        // applied before positions are rounded to 1/64 unit
    std::string up = "z";      // "y": the model was made with Y up and is stood up
    std::string shaderPrefix;  // folder for shader names that are no game paths
    // glTF:
    std::string frames;    // "A-B" or "A": frames exported, or sampled frames imported; empty: all
    std::string mdx;       // export of an MDM: its animation; import to .mdm: the MDX written
    double fps = 0.0;      // export: 0 for the listed rates, else 20
    std::string skin;      // export: a skin naming the surfaces' shaders
    std::string animName;  // import: the animation sampled into frames; empty: the first
};

bool IsGltfFile(const std::string& path);

// Writes a glTF export; installed by the programs that read archives and pictures, which
// veldra-cli hands glTF exports to.
using TGltfExporter = int (*)(const std::string& input, const std::string& output,
                              const TConvertOptions& options, std::ostream& warnings);
void InstallGltfExporter(TGltfExporter exporter);

// MD3 models become .md3, MDM meshes .mdm and MDX animations .mdx files, in the canonical
// layout; maps become .md3. Mesh limit questions are answered Yes and shown on `warnings`.
int RunConvert(const std::string& input, const std::string& output,
               std::ostream& warnings = std::cerr, const TConvertOptions& options = {});
