// The search for image files that shaders and surfaces name: beside the model, in the map
// archive and in the game's PAKs. A hit inside an archive is extracted at once, to the map
// archive's folder or the PAK's, and the file written is the result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assets/game_assets.h"
#include "assets/model_origin.h"

struct TImageHit {
    std::string name;     // the candidate name that was found
    std::string path;     // the file on disk
    std::uint32_t flags;  // kShaderImageFound and where: kShaderFoundInArchive, kShaderFoundInGame
};

// The names an image is tried as: as named (as the game takes it, see GameFileName), then
// with its extension replaced by (or, without one, given) ".tga", ".jpg" and ".bmp"; each
// once. None for a name the game refuses.
std::vector<std::string> ImageNameCandidates(std::string_view name);

// Opens the archive and extracts the first candidate it holds (any letter case, either
// separator) below `targetRoot`. Nothing when none is there; an archive that cannot be
// opened or a candidate that cannot be extracted adds a problem and the search goes on.
std::optional<TImageHit> ExtractFirstFound(const std::string& archivePath,
                                           const std::vector<std::string>& candidates,
                                           const std::string& targetRoot,
                                           std::vector<std::string>& problems);

// The first candidate below the game's etmain folder (any letter case), where a game whose
// archives were unpacked keeps its files. The game reads its archives before this folder.
std::optional<TImageHit> FindInGameFolder(const std::vector<std::string>& candidates,
                                          const TGameAssets& assets);

// The image for a surface whose shader name names no shader: the file part in the model's
// folder (only for a model loaded from a file), then the name inside the map archive, then
// inside each PAK in search order (the last listed first), then in the game's etmain
// folder, every place with all candidates.
std::optional<TImageHit> FindSurfaceImage(const std::string& shaderName, const TGameAssets& assets,
                                          const TModelOrigin& origin,
                                          std::vector<std::string>& problems);
