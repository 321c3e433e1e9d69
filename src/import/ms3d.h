// TMS3D: a MilkShape 3D model as read, kept between reading and its conversion into the MD3
// model.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "import/import_settings.h"
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
    // The joint count the file gives, also when the joints were cut off.
    std::uint16_t numJoints = 0;
    TMS3DTrailer trailer;
    // Scale, up axis and shader folder of the conversion.
    TImportSettings settings;

    void Clear();

    // True when the 14-byte header could be read and names the format. A file cut short
    // after it still loads, with the records it holds: what was not in the file is not in
    // the arrays (the conversion skips indices into it and says so). Throws FileError when
    // the file cannot be opened.
    bool LoadMS3D(const std::string& fileName);
    // The same from the file's bytes, held by the caller.
    bool LoadMS3DBytes(std::span<const std::uint8_t> bytes);

    // Fills `model` with one frame: a surface per group, a tag per group named "tag_...". A
    // model with joints is converted in its bind pose (SkippedText() says so). False with the
    // reason in `message` (the model then empty) for a model the user declined to scale, one past a
    // limit the user declined to split (LimitExceeded() then tells), or one without triangles or
    // tags. On success `message` is empty or notes the scaling.
    bool ConvertMS3DToMD3(TMD3& model, UserPrompts& prompts, std::string& message);
    bool LimitExceeded() const { return limitExceeded_; }

    // What the last conversion left out (indices past their arrays, triangles that draw
    // nothing, the end of a file cut short); empty when nothing was.
    const std::string& SkippedText() const { return skippedText_; }

  private:
    std::string skippedText_;
    bool limitExceeded_ = false;
    // The file ended before its joint block.
    bool cutShort_ = false;
};

inline constexpr const char* kMS3DScaledText = "MS3D-model scaled down to fit MD3-bounds";
inline constexpr const char* kMS3DOutOfBoundsText =
    "MS3D-model coordinates are exceeding the MD3 bounds: -511 to 511";
