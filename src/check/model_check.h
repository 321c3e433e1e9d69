// The engine-limit and consistency checks of models already in memory, so that the CLI and
// the GUI's dialog report the same findings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/skin.h"
#include "check/check_finding.h"
#include "check/engine_limits.h"

class TMD3;
class TMDM;
class TMDX;
class TMDS;
class TANINC;
struct TMD3Tag;

TCheckFindings CheckMD3(const TMD3& model, const TEngineLimits& limits);
TCheckFindings CheckMDM(const TMDM& model, const TEngineLimits& limits);
TCheckFindings CheckMDX(const TMDX& model, const TEngineLimits& limits);
TCheckFindings CheckMDS(const TMDS& model, const TEngineLimits& limits);
TCheckFindings CheckTags(const std::vector<TMD3Tag>& tags, const TEngineLimits& limits);

// Entries whose range runs past the animation's frames.
TCheckFindings CheckAnincRanges(const TANINC& list, std::int64_t mdxFrames);

// Skin lines naming a surface the model lacks, names compared in lower case. Lines that attach
// models or tags ("md3_...", "tag_...") name no surface, nor do "//" comments.
TCheckFindings CheckSkinSurfaces(const TSkin& skin, const std::vector<std::string>& surfaceNames);

// More surface or "md3_" lines than the engine's skin holds.
TCheckFindings CheckSkinLines(const TSkin& skin, const TEngineLimits& limits);

// The surface names of a loaded model as the game matches skins against them (SkinSurfaceName),
// for CheckSkinSurfaces: an MD3's in lower case without a trailing "_N" (the game's MD3 loader
// cuts it: "b6_2" is matched as "b6"), the skeletal formats' as stored.
std::vector<std::string> SurfaceNames(const TMD3& model);
std::vector<std::string> SurfaceNames(const TMDM& model);
std::vector<std::string> SurfaceNames(const TMDS& model);
