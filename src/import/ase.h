// TASE: a 3ds Max ASCII export as read, kept between reading and its conversion into the MD3
// model. The reader follows keywords line by line, not the braces, as the exporters' files
// only agree on the keywords.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "import/import_settings.h"
#include "math/vector.h"

class TMD3;
class UserPrompts;

struct TASESubMaterial {
    std::string name;
    float transparency = 0.0f;
    std::string bitmap;
    bool reflection = false;  // the bitmap came from a reflection map, not a diffuse one
};

struct TASEMaterial {
    std::string name;
    float transparency = 0.0f;
    std::string bitmap;
    std::vector<TASESubMaterial> subMaterials;
};

struct TASEFace {
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
    bool ab = false;
    bool bc = false;
    bool ca = false;
    std::int32_t smoothingGroup = 0;
    // Every smoothing group the face is in ("1,2" is groups 1 and 2), bit n - 1 for group n.
    std::uint32_t smoothingGroups = 0;
    std::int32_t materialId = 0;
};

struct TASEMappingVertex {
    float u = 0.0f;
    float v = 0.0f;
};

struct TASEMappingFace {
    std::int32_t index[3] = {};
};

struct TASEMesh {
    std::int32_t timeValue = 0;
    std::vector<TVector3> vertices;
    std::vector<TASEFace> faces;
    std::vector<TASEMappingVertex> mappingVertices;
    std::vector<TASEMappingFace> mappingFaces;
};

struct TASEGeomObject {
    std::string nodeName;
    std::vector<TASEMesh> meshes;
};

class TASE {
  public:
    std::string fileName;  // without folder
    std::string headerLine;
    std::string comment;
    std::vector<TASEMaterial> materials;
    std::vector<TASEGeomObject> geomObjects;
    // Scale, up axis and shader folder of the conversion.
    TImportSettings settings;

    void Clear();

    // Reads the file; false with the status text in `message` when it does not exist or its
    // first non-empty line is not the export header. Files saved as UTF-16 are decoded.
    // Throws FileError when the file exists but cannot be opened.
    bool LoadASE(const std::string& path, std::string& message);
    // The same from the bytes of the file at `path` (named in the messages only).
    bool LoadASEBytes(std::span<const std::uint8_t> bytes, const std::string& path,
                      std::string& message);

    // Fills `model` with one frame: a surface per material that faces use and that is no
    // tool material, three vertices per face, with the normals the faces' smoothing groups
    // give. False with the reason in `message` (and the
    // model empty) when a limit is exceeded and the user declined to split, when the user
    // declined to scale, or when no triangle is left; LimitExceeded() tells the limits apart,
    // which are worth a message box.
    bool ConvertASEToMD3(TMD3& model, UserPrompts& prompts, std::string& message);
    bool LimitExceeded() const { return limitExceeded_; }

    // What the last conversion left out (indices past their lists, faces of unknown or tool
    // materials, triangles that draw nothing); empty when nothing was.
    const std::string& SkippedText() const { return skippedText_; }

  private:
    bool limitExceeded_ = false;
    std::string skippedText_;
};

// Whether a texture path names one of the game's tool textures, which draw nothing.
bool IsExcludedTexture(const std::string& path);

inline constexpr const char* kASEScaledText = "ASE-model scaled down to fit MD3-bounds";
inline constexpr const char* kASEOutOfBoundsText =
    "ASE-model coordinates are exceeding the MD3 bounds: -511 to 511";
inline constexpr const char* kASEConvertedText = "ASE converted to MD3";
