// TMS3D: a MilkShape 3D model as read, kept between reading and its conversion into the MD3
// model.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "import/ms3d_format.h"

class TMD3;
class UserPrompts;

struct TMS3DGroup : TMS3DGroupHead {
    std::vector<std::uint16_t> triangleIndices;  // numTriangles
    std::uint8_t materialIndex = 0;
};

struct TMS3DJoint : TMS3DJointHead {
    std::vector<TMS3DKeyframe> rotationKeys;
    std::vector<TMS3DKeyframe> translationKeys;
};

struct TMS3DComment {
    std::int32_t index = 0;
    std::string text;
};

// The optional blocks later format revisions append; nothing here is converted.
struct TMS3DTrailer {
    std::int32_t commentSubVersion = 0;
    std::vector<TMS3DComment> comments[4];  // groups, materials, joints, model
    std::int32_t vertexExtraSubVersion = 0;
    std::vector<std::uint8_t> vertexExtras;  // 10 bytes per vertex
    std::int32_t jointExtraSubVersion = 0;
    std::vector<std::uint8_t> jointExtras;  // 12 bytes per joint
    std::int32_t modelExtraSubVersion = 0;
    std::vector<std::uint8_t> modelExtra;  // 12 bytes
};

class TMS3D {
  public:
    char ident[10] = {};
    std::int32_t version = 0;
    std::vector<TMS3DVertex> vertices;
    std::vector<TMS3DTriangle> triangles;
    std::vector<TMS3DGroup> groups;
    std::vector<TMS3DMaterial> materials;
    TMS3DAnimation animation;
    std::vector<TMS3DJoint> joints;
    // The joint count the file gives: a model with joints is refused even when its joints
    // were cut off.
    std::uint16_t numJoints = 0;
    TMS3DTrailer trailer;

    void Clear();

    // True when the 14-byte header could be read and names the format. A file cut short
    // after it still loads, with the records it holds: what was not in the file is not in
    // the arrays (the conversion skips indices into it and says so). Throws FileError when
    // the file cannot be opened.
    bool LoadMS3D(const std::string& fileName);
    // The same from the file's bytes, held by the caller.
    bool LoadMS3DBytes(std::span<const std::uint8_t> bytes);

    // Fills `model` with one frame: a surface per group, a tag per group named "tag_...".
    // False for a model with joints (empty message) or one the user declined to scale; the
    // model is then empty. On success `message` is empty or notes the scaling.
    bool ConvertMS3DToMD3(TMD3& model, UserPrompts& prompts, std::string& message);

    // What the last conversion left out because the file's indices pointed past their
    // arrays; empty when nothing was.
    const std::string& SkippedText() const { return skippedText_; }

  private:
    std::string skippedText_;
};

inline constexpr const char* kMS3DScaledText = "MS3D-model scaled down to fit MD3-bounds";
inline constexpr const char* kMS3DOutOfBoundsText =
    "MS3D-model coordinates are exceeding the MD3 bounds: -511 to 511";
