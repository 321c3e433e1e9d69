// TGltfImport: a glTF 2.0 file (.glb or .gltf) as read, and its conversion into an MD3 model
// (static meshes, morph-target and skinned animations baked frame by frame, tag_* nodes as
// tags) or into an MDM mesh with its MDX animation (a skin whose joints are the player's
// bones).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "import/import_settings.h"

namespace tinygltf {
class Model;
}
class TMD3;
class TMDM;
class TMDX;
class UserPrompts;

// The rate at which animations become frames, as the game plays a model's frames.
inline constexpr double kGltfFrameRate = 20.0;

struct TGltfFrameRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

struct TGltfImportChoice {
    // Scale and shader folder. glTF is Y-up by definition: the axes are always stood up on the
    // game's Z, whatever the settings say.
    TImportSettings settings;
    // The animation to sample; empty for the file's first. A file without animations gives
    // one frame of its rest pose.
    std::string animationName;
    // Frames of the sampled animation (at kGltfFrameRate) to keep; all when unset.
    std::optional<TGltfFrameRange> frames;
};

class TGltfImport {
  public:
    TGltfImport();
    TGltfImport(TGltfImport&&) noexcept;
    TGltfImport& operator=(TGltfImport&&) noexcept;
    ~TGltfImport();

    TGltfImportChoice choice;

    // Reads the file; buffers beside a .gltf are read from its folder only. Throws FileError
    // when the file cannot be opened; false with the reason in `message` otherwise.
    bool LoadGltf(const std::string& fileName, std::string& message);
    // The same from bytes in memory, for a file that names no buffers outside itself.
    bool LoadGltfBytes(std::span<const std::uint8_t> bytes, std::string& message);

    // Fills `model` with one surface per primitive and one frame per sampled moment. The
    // game's limits are put to `prompts` as the other importers do (scale to fit, split a
    // surface); false with the reason in `message` (the model then empty) for a refusal. On
    // success `message` is empty or notes the scaling.
    bool ConvertGltfToMD3(TMD3& model, UserPrompts& prompts, std::string& message);

    // Fills `mesh` and `anim` from the file's skin: the joints become the bones (names and
    // hierarchy), the vertices weights with offsets in their bones' frames, the sampled frames
    // the animation; collapse maps are computed. False with the reason in `message`.
    bool ConvertGltfToMDM(TMDM& mesh, TMDX& anim, std::string& message);

    // Whether a node of the file draws a skinned mesh: it can become a player (MDM/MDX).
    bool HasSkin() const;

    bool LimitExceeded() const { return limitExceeded_; }
    // What the last conversion left out or changed; empty when nothing was.
    const std::string& SkippedText() const { return skippedText_; }

  private:
    std::unique_ptr<tinygltf::Model> model_;
    std::string skippedText_;
    bool limitExceeded_ = false;
};

inline constexpr const char* kGltfScaledText = "glTF model scaled down to fit MD3-bounds";
inline constexpr const char* kGltfOutOfBoundsText =
    "glTF model coordinates are exceeding the MD3 bounds: -511 to 511";
