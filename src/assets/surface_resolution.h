// ResolveSurfaceShaders: gives every surface of the loaded model its entry in the shader
// store — a shader from a script (shader list, then map archive, then game) or, failing
// that, a plain image — after a skin has had its say. Works on any model family through
// TSurfaceShaderRef; MD3 adapters are below.
//
// The GUI runs, after every model load, skin or shader-list change and shader-name edit:
//   auto result = ResolveSurfaceShaders(MD3SurfaceShaderRefs(md3), assets, origin, shaders,
//                                       status);
//   SetMD3ShaderIndices(md3, result);
//   fill cbShaderFile / cbShaderNameFound from result.surfaces, select their first items;
//   CreateStageTextures (render/gl), which starts with ResolveStageImages (stage_images.h).
#pragma once

#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "assets/model_origin.h"
#include "assets/skin.h"
#include "assets/status_text.h"
#include "md3/md3.h"
#include "shader/q3_shaders.h"
#include "skeletal/mdm.h"

// One surface as the resolution sees it.
struct TSurfaceShaderRef {
    std::string surfaceName;
    std::string shaderName;  // empty for a surface without shader
    TSkinNaming skinNaming = TSkinNaming::VertexModel;
};

struct TSurfaceShaderResult {
    int shaderIndex = -1;         // entry in the shader store; -1 for none
    std::string shaderFile;       // cbShaderFile: display text of the script, or empty
    std::string shaderNameFound;  // cbShaderNameFound: the name found in a script, or empty
};

struct TSurfaceResolution {
    std::vector<TSurfaceShaderResult> surfaces;  // one per surface, in order
    // Archives that could not be opened, entries refused or damaged, scripts not readable.
    std::vector<std::string> problems;
};

// Empties the store, then, when there are surfaces and the game index is not empty, resolves
// them in order: a skin record of the surface replaces its shader name (kShaderNameFromSkin);
// the name without extension is looked up in the script indexes and the shader parsed into
// the store; otherwise the name is searched as an image (FindSurfaceImage) and added as a
// texture entry. Skin records get the name they resolved to. Status texts: "Updating skins,
// shaders & textures..." while working, cleared at the end.
TSurfaceResolution ResolveSurfaceShaders(const std::vector<TSurfaceShaderRef>& surfaces,
                                         TGameAssets& assets, const TModelOrigin& origin,
                                         TShaders& shaders, const StatusFn& status = {});

// The MD3 surfaces with the name of their first shader record (empty without one).
std::vector<TSurfaceShaderRef> MD3SurfaceShaderRefs(const TMD3& model);
// Stores each result's index in the first shader record of its surface; surfaces without a
// shader record keep none.
void SetMD3ShaderIndices(TMD3& model, const TSurfaceResolution& resolution);

// The MDM surfaces with their shader names.
std::vector<TSurfaceShaderRef> MDMSurfaceShaderRefs(const TMDM& model);
// Stores each result's index in its MDM surface.
void SetMDMShaderIndices(TMDM& model, const TSurfaceResolution& resolution);
