// `veldra-cli convert IN.ms3d|IN.ase|IN.glb|IN.gltf OUT.md3`: the importers without anyone to
// ask; a glTF skin also becomes OUT.mdm with --mdx OUT.mdx.
#pragma once

#include <iostream>
#include <string>

#include "import/import_settings.h"

class TMD3;

struct TImportOptions {
    // Answers Yes to scaling a model larger than MD3 positions reach; otherwise it is refused.
    bool scaleToFit = false;
    // Answers Yes to splitting a surface past the MD3 limits; otherwise it is refused.
    bool splitSurfaces = false;
    // Scale, up axis and shader folder.
    TImportSettings settings;
    // glTF only: the animation sampled into frames (empty: the first), the frames "A-B" or
    // "A" of it (empty: all), and the MDX file written beside an MDM.
    std::string animationName;
    std::string frames;
    std::string mdxOutput;
};

// Whether the file is a glTF model (.glb or .gltf, without regard to case).
bool IsGltfModel(const std::string& path);

// Whether `convert` reads this file with an importer (by extension, without regard to case).
bool IsImportedModel(const std::string& path);

// Converts an imported model into an MD3 file, the importers' questions answered by
// `options`. What the conversion left out or scaled is shown on `warnings`, each line naming
// the file; a refusal (nothing to convert, a limit, the bounds) throws CliError with the
// importer's reason.
void ImportToMD3(const std::string& input, TMD3& model, const TImportOptions& options,
                 std::ostream& warnings);

int RunImportConvert(const std::string& input, const std::string& output,
                     const TImportOptions& options, std::ostream& warnings = std::cerr);
