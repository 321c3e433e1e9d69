// What each engine accepts in a model. A limit is the largest value the engine takes; 0 means
// the engine sets none.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class TEngine { ET, ETLegacy, IOQ3 };

struct TEngineLimits {
    const char* name;
    std::int64_t surfaceVerts;    // vertices the tessellator takes from one surface
    std::int64_t surfaceIndexes;  // triangle corners the tessellator takes from one surface
    std::int64_t md3Surfaces;
    std::int64_t md3Frames;
    std::int64_t md3Tags;
    std::int64_t md3Shaders;         // per surface
    std::int64_t md3Verts;           // per surface, the file format's own bound
    std::int64_t md3Triangles;       // per surface
    std::int64_t skeletalVerts;      // MDM and MDS, per surface
    std::int64_t skeletalTriangles;  // MDM and MDS, per surface
    std::int64_t skeletalSurfaces;
    std::int64_t skeletalTags;
    std::int64_t bones;      // MDX and MDS
    std::int64_t nameChars;  // characters before the terminating zero of a game path
    std::int64_t shaderStages;
    bool loadsSkeletal;  // whether MDM, MDX and MDS load at all
};

const TEngineLimits& LimitsOf(TEngine engine);

// "et", "etlegacy" or "ioq3"; nothing for any other text.
std::optional<TEngine> EngineNamed(std::string_view name);
