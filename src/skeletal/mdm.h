// TMDM: the one in-memory MDM mesh. The layout mirrors the file record for record; the
// header's and surfaces' counts are the authority for the array lengths, and every loader
// and edit keeps them equal.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skeletal/mdm_format.h"
#include "skeletal/pose_buffers.h"

class ByteSink;
class ByteSource;
class UserPrompts;

struct TMDMVertex : TMDMVertexRecord {
    std::vector<TMDMWeight> weights;  // numWeights
};

struct TMDMSurface : TMDMSurfaceHeader {
    std::vector<TMDMVertex> vertices;                 // numVerts
    std::vector<TMDMTriangle> triangles;              // numTriangles
    std::vector<TMDMCollapseMap> collapseMap;         // numVerts
    std::vector<TMDMSurfaceBoneRefs> boneReferences;  // numBoneReferences
};

struct TMDMTag : TMDMTagRecord {
    std::vector<TMDMSurfaceBoneRefs> boneReferences;  // numBoneReferences
};

// What the LOD controls show and edit for one surface.
struct TMDMLodEntry {
    std::int32_t vertexCount = 0;
    std::int32_t lodMinimum = 0;
};

// The LOD display table has one entry per surface the game allows.
inline constexpr std::size_t kMDMLodEntries = kMDMMaxSurfaces;

class TMDM {
  public:
    TMDMHeader header;
    std::vector<TMDMSurface> surfaces;  // header.numSurfaces
    std::vector<TMDMTag> tags;          // header.numTags
    // Entry i belongs to surface i; surfaces beyond the 32nd have none.
    std::array<TMDMLodEntry, kMDMLodEntries> lod{};
    // Written by SkeletalPose and TSkeletalPoser; valid for the frame and surface last posed.
    TSkeletalPoseBuffers pose;

    // Reads a whole MDM file. Counts beyond the game's limits are put to `prompts` as Yes/No
    // questions. Throws FileError when the file cannot be opened; any other problem (a No
    // included) gives false with the reason in LastError() and leaves the model empty. The
    // surfaces' shaderIndex fields keep the file's values until the shader lookup sets them
    // (or ClearShaderIndexes). A file is refused when any count or offset points outside it, a
    // vertex has a negative weight count, a weight or tag names a negative bone, or a triangle or
    // collapse map entry names a vertex outside its surface. Whether the bones exist is a question
    // for the animation (SkeletalPairProblem).
    bool LoadFromFile(const std::string& fileName, UserPrompts& prompts);
    // The same from a file's bytes held elsewhere; `source` is only read.
    bool LoadFrom(const ByteSource& source, UserPrompts& prompts);

    // Writes the model with recomputed offsets in the canonical order: header, then each
    // surface as header, vertices with their weights, triangles, collapse map and bone
    // references, then each tag with its bone references. A model whose counts disagree with
    // its arrays is not written. The file is replaced only when everything was written;
    // throws FileError when it cannot be created.
    bool SaveToFile(const std::string& fileName);
    // The same into a sink, finished; false with the reason in LastError().
    bool WriteTo(ByteSink& out);

    // Replaces the tags (and numTags) by those of another MDM file; surfaces stay. On any
    // failure the model is unchanged, except that answering No to the MAX_TAGS question
    // clears it. Throws FileError when the file cannot be opened.
    bool LoadTagsFromFile(const std::string& fileName, UserPrompts& prompts);
    bool LoadTagsFrom(const ByteSource& source, UserPrompts& prompts);

    // Frees every array and zeroes numSurfaces and numTags; the rest of the header stays.
    void Clear();
    bool IsValid() const;  // the identifier is "MDMW": an MDM was loaded or built
    // True when any collapse-map entry of any surface is non-zero.
    bool HasLodData() const;
    // Deletes one surface; the LOD display entries of the later surfaces move up with them.
    // False for an index outside the surfaces.
    bool RemoveSurface(int surface);
    // Writes text into the shader name of a surface (zero-padded 64 bytes); an index outside
    // the surfaces does nothing.
    void SetSurfaceShader(int surface, std::string_view text);
    // Every surface's shaderIndex becomes -1 (no shader), for when no lookup will run.
    void ClearShaderIndexes();
    // Sets the LOD display entries of the surfaces to (numVerts, numVerts), as a load does.
    void ResetLodTable();
    // Sets them to (numVerts, minLod): what the LOD panel shows for a mesh with LOD data.
    void LodTableFromMinLod();

    // Why the last LoadFromFile, SaveToFile or LoadTagsFromFile failed.
    const std::string& LastError() const { return lastError_; }

    // Sizes in bytes of the blocks as SaveToFile lays them out; the per-surface ones are 0 for
    // an index outside the surfaces.
    static constexpr std::int64_t HeaderSize() { return sizeof(TMDMHeader); }
    static constexpr std::int64_t SurfaceHeaderSize() { return sizeof(TMDMSurfaceHeader); }
    std::int64_t VerticesSize(int surface) const;
    std::int64_t TrianglesSize(int surface) const;
    std::int64_t CollapseMapSize(int surface) const;
    std::int64_t BoneReferencesSize(int surface) const;
    std::int64_t SurfaceSize(int surface) const;
    std::int64_t TagsSize() const;

    bool ValidSurface(int surface) const {
        return surface >= 0 && static_cast<std::size_t>(surface) < surfaces.size() &&
               static_cast<std::uint32_t>(surface) < header.numSurfaces;
    }

    // Empty when every count equals the length of its array, else what disagrees.
    std::string CountMismatch() const;

  private:
    // Checks the counts and sets the offsets for writing; false with the reason in
    // LastError().
    bool PlaceBlocks();

    std::string lastError_;
};
