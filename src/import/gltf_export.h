// Export of the game's models to glTF 2.0, the format every general 3D tool reads. A document
// is built up from the parts below (an MD3/MDC model, a player, the models hung on its tags)
// and written as .glb (binary, everything in one file) or .gltf (JSON with the binary data
// and pictures embedded). Everything is turned from the game's z-up axes to glTF's y-up ones
// on the way (gltf_axes.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/gltf_library.h"
#include "md3/md3.h"
#include "skeletal/aninc.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

// How a surface's picture covers what lies behind it, as its first image stage says.
enum class TGltfAlpha { Opaque, Mask, Blend };

// A surface's material: the shader's name, and its first stage's picture when the game data
// gave one (PNG or JPEG bytes).
struct TGltfMaterial {
    std::string name;
    std::vector<std::uint8_t> image;  // empty: a named material without texture
    std::string mimeType;             // "image/png" or "image/jpeg" with an image
    TGltfAlpha alpha = TGltfAlpha::Opaque;
    float alphaCutoff = 0.5f;  // for Mask
    bool doubleSided = false;
};

// One animation of a player: a frame range of the MDX played at a rate.
struct TGltfClip {
    std::string name;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    double fps = 20.0;
};

// The default rate of vertex animations, as the game plays MD3 frames.
inline constexpr double kGltfDefaultFps = 20.0;

class TGltfExport {
  public:
    TGltfExport();

    // An MD3 (or MDC) model: one mesh per surface holding frame `first` with every further
    // frame up to `last` as a morph target, tags as nodes, and one animation named `clipName`
    // that plays the frames at `fps`, tags moving with them. `materials` has one entry per
    // surface (fewer: the rest are named after their shaders). Returns the model's node.
    // A range outside the frames gives -1.
    int AddMD3(const TMD3& model, std::uint32_t first, std::uint32_t last, double fps,
               const std::vector<TGltfMaterial>& materials, const std::string& clipName);

    // A player: the MDM as a skinned mesh (one per surface) on the MDX's bones, an animation
    // per clip, and the MDM's tags as nodes under their bones. The mesh must be posable with
    // the animation (SkeletalPairProblem empty). False when no bind pose can be found (an
    // animation without frames).
    bool AddPlayer(TMDM& mesh, const TMDX& anim, const std::vector<TGltfClip>& clips,
                   const std::vector<TGltfMaterial>& materials);

    // A model hung on a tag node (a character's head or accessory): its first frame as
    // meshes, its tags as nodes, placed on `tagNode`. Returns the model's node.
    int AttachMD3(const TMD3& model, int tagNode, const std::vector<TGltfMaterial>& materials,
                  const std::string& name);

    // The node of the tag of that name added last (a player's or an attached model's), or -1.
    int TagNode(const std::string& name) const;

    // What the export changed on the way (vertices with more than four weights, how far the
    // bind pose is from the file's offsets), one sentence each.
    const std::vector<std::string>& Notes() const { return notes_; }

    const tinygltf::Model& Document() const { return model_; }

    // Writes the document: binary for a ".glb" name, JSON otherwise. The old file stays
    // until the new one is complete. False with the reason in `error`; throws FileError
    // when the file cannot be created.
    bool Save(const std::string& fileName, std::string& error);

  private:
    int AddNode(tinygltf::Node node, int parent);
    int AddMaterial(const TGltfMaterial& material);
    int MaterialFor(const std::vector<TGltfMaterial>& materials, std::size_t surface,
                    const std::string& shaderName);
    void RememberTag(const std::string& name, int node);
    // Meshes of frame `first` of an MD3, with its later frames up to `last` as morph targets;
    // the indices of the surfaces' nodes.
    std::vector<int> AddMD3Surfaces(const TMD3& model, std::uint32_t first, std::uint32_t last,
                                    const std::vector<TGltfMaterial>& materials, int parent);

    tinygltf::Model model_;
    std::vector<std::pair<std::string, int>> tagNodes_;
    std::vector<std::string> notes_;
};

// The first image stage's blend and test turned into glTF's alpha mode.
TGltfAlpha GltfAlphaOf(std::uint8_t alphaFunc, std::int32_t blendSrc, std::int32_t blendDst);
