// What each engine accepts in a model. A limit is the largest value the engine takes; 0 means
// the engine sets none. The loaders enforce the vertex and corner bounds of the renderer and
// the file versions; the per-format counts (surfaces, frames, tags, shaders, vertices and
// triangles of the format) are declared in the engines' headers but no loader checks them, so
// passing them is only a warning.
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
    bool loadsSkeletal;         // whether MDM, MDX and MDS load at all
    std::int64_t skinSurfaces;  // surface lines of a skin file
    std::int64_t skinModels;    // "md3_" lines of a skin file
    // True where the skin's lines past those bounds are written past fixed arrays; else the
    // engine ignores them with a warning.
    bool skinOverrun;
};

// The only file versions the loaders of every engine accept.
inline constexpr std::int32_t kEngineMDMVersion = 3;
inline constexpr std::int32_t kEngineMDXVersion = 2;
inline constexpr std::int32_t kEngineMDSVersion = 4;

const TEngineLimits& LimitsOf(TEngine engine);

// "et", "etlegacy" or "ioq3"; nothing for any other text.
std::optional<TEngine> EngineNamed(std::string_view name);
