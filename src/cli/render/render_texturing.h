// The game data `veldra-cli render` textures its model with (--game, --pk3, --skin,
// --shaderlist), read the way the program reads them: the game's PAKs and scripts, a map's
// archive searched first, a skin and a shader list. Archive entries are extracted to a
// scratch folder that lives as long as the object.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "assets/game_assets.h"
#include "assets/surface_resolution.h"
#include "cli/model_source.h"
#include "cli/render_arguments.h"
#include "io/scratch_folder.h"
#include "md3/md3.h"
#include "render/attached_models.h"
#include "render/gl/obj_texture.h"
#include "shader/q3_shaders.h"
#include "skeletal/mdm.h"

class TRenderTexturing {
  public:
    // Reads what the options name. Throws CliError naming the model when the game folder,
    // the map archive, the skin or the shader list cannot be used; archives of the game that
    // cannot be read are warnings. Does nothing without --game.
    TRenderTexturing(const TRenderOptions& options, std::ostream& warnings);
    TRenderTexturing(const TRenderTexturing&) = delete;
    TRenderTexturing& operator=(const TRenderTexturing&) = delete;

    // Gives every surface its shader and uploads the stages' images; the render context must
    // be current. Entries that could not be extracted are warnings. Without a game every
    // surface stays without shader and is drawn white.
    void TextureModel(TMD3& model, TShaders& shaders, TObjTexture& textures);
    // The same for a player mesh.
    void TextureModel(TMDM& mesh, TShaders& shaders, TObjTexture& textures);
    // A character's head and accessories, each through its own skin, after the body.
    void TextureAttachments(TAttachedModels& models, TObjTexture& textures);

  private:
    TModelOrigin Origin() const;
    // Resolves the surfaces into the store and uploads the images; nothing without a game.
    TSurfaceResolution Resolve(const std::vector<TSurfaceShaderRef>& surfaces, TShaders& shaders,
                               TObjTexture& textures);
    const TRenderOptions& options_;
    std::ostream& warnings_;
    std::unique_ptr<TScratchFolder> scratch_;
    std::unique_ptr<TGameAssets> assets_;
    std::unique_ptr<TModelSource> skinSource_;
};
