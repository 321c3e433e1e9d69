// The sky box drawn around the camera: six face images compiled with the box's quads into
// one display list.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "render/sky_box_geometry.h"

class TCamera;
class TOGL;

class TSkyBox {
  public:
    explicit TSkyBox(TOGL& owner) : owner_(owner) {}
    TSkyBox(const TSkyBox&) = delete;
    TSkyBox& operator=(const TSkyBox&) = delete;

    // Loads base + "Left", "Right", "Bottom", "Top", "Front", "Back" through the owner's
    // texture hooks and compiles the list. False, with every face freed and the box hidden,
    // when the context is not ready or any face is missing.
    bool LoadSkyBox(const std::string& base);
    void DrawSkyBox(const TCamera& camera);
    // Deletes the list and the face textures; needs the owner's context to be current (when
    // the owner is not ready they died with the context and are only forgotten).
    void FreeSkyBox();
    // Drops names whose GL objects died with their context.
    void Forget();
    void SetSkyBoxShown(bool shown) { shown_ = shown; }

    bool Shown() const { return shown_; }
    // Shown and with something to draw. A box whose faces failed to load still counts as
    // shown (the menu says so) but draws nothing, so the frame should fall back to the
    // gradient background on this rather than on Shown().
    bool Visible() const { return shown_ && list_ != 0; }
    std::uint32_t DisplayList() const { return list_; }
    const std::string& FaceName(TSkyFace face) const { return names_[Index(face)]; }
    std::uint32_t FaceTexture(TSkyFace face) const { return textures_[Index(face)]; }

  private:
    static std::size_t Index(TSkyFace face) { return static_cast<std::size_t>(face); }
    void DeleteList();
    void FreeFaces();
    bool CompileList();

    TOGL& owner_;
    bool shown_ = false;
    std::array<std::string, kSkyFaceCount> names_;
    std::array<std::uint32_t, kSkyFaceCount> textures_{};
    std::uint32_t list_ = 0;
};
