// TMDS: the one in-memory MDS model. It is only read, and converted at once into the MDM
// mesh and MDX animation (mds_convert.h), as which the model is then handled and saved.
#pragma once

#include <string>
#include <vector>

#include "skeletal/mds_format.h"
#include "skeletal/mdx.h"

class ByteSource;

struct TMDSVertex : TMDSVertexRecord {
    std::vector<TMDMWeight> weights;  // numWeights
};

struct TMDSSurface : TMDMSurfaceHeader {
    std::vector<TMDSVertex> vertices;                 // numVerts
    std::vector<TMDMTriangle> triangles;              // numTriangles
    std::vector<TMDMCollapseMap> collapseMap;         // numVerts
    std::vector<TMDMSurfaceBoneRefs> boneReferences;  // numBoneReferences
};

class TMDS {
  public:
    TMDSHeader header;
    std::vector<TMDSSurface> surfaces;  // header.numSurfaces
    std::vector<TMDSTag> tags;          // header.numTags
    std::vector<TMDXBoneInfo> bones;    // header.numBones
    std::vector<TMDXFrame> frames;      // header.numFrames, each with numBones bone frames

    // Reads a whole MDS file. Throws FileError when the file cannot be opened; any other
    // problem gives false with the reason in LastError() and leaves the model empty. A file is
    // refused when any count or offset points outside it, a vertex has a negative weight count,
    // or a triangle or collapse map entry names a vertex outside its surface.
    bool LoadFromFile(const std::string& fileName);
    // The same from a file's bytes held elsewhere; `source` is only read.
    bool LoadFrom(const ByteSource& source);

    void Clear();
    bool IsValid() const;  // the identifier is "MDSW"

    const std::string& LastError() const { return lastError_; }

  private:
    std::string lastError_;
};
