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

// Skin lines naming a surface the model lacks (names compared in lower case). Lines that
// attach models (model slots) name no surface.
TCheckFindings CheckSkinSurfaces(const TSkin& skin, const std::vector<std::string>& surfaceNames);

// The surface names of a loaded model as the game compares them with skins
// (SkinSurfaceName), for CheckSkinSurfaces.
std::vector<std::string> SurfaceNames(const TMD3& model);
std::vector<std::string> SurfaceNames(const TMDM& model);
std::vector<std::string> SurfaceNames(const TMDS& model);
