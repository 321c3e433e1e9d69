#include "check/engine_limits.h"

namespace {

// Wolfenstein: Enemy Territory 2.60b as released under the GPL: src/qcommon/qfiles.h and
// src/renderer/tr_local.h. R_LoadMD3 drops a surface with more than SHADER_MAX_VERTEXES
// vertices or SHADER_MAX_INDEXES corners. RE_RegisterSkin stores surface lines into
// skin_t.surfaces[MD3_MAX_SURFACES] and "md3_" lines into models[MAX_PART_MODELS] without
// a bound check.
constexpr TEngineLimits kET{
    "et",
    1025,      // SHADER_MAX_VERTEXES (1024 + 1)
    6 * 1025,  // SHADER_MAX_INDEXES (6 * SHADER_MAX_VERTEXES)
    32,        // MD3_MAX_SURFACES
    1024,      // MD3_MAX_FRAMES
    16,        // MD3_MAX_TAGS
    256,       // MD3_MAX_SHADERS
    4096,      // MD3_MAX_VERTS
    8192,      // MD3_MAX_TRIANGLES
    6000,      // MDM_MAX_VERTS, MDS_MAX_VERTS
    8192,      // MDM_MAX_TRIANGLES, MDS_MAX_TRIANGLES
    32,        // MDM_MAX_SURFACES, MDS_MAX_SURFACES
    128,       // MDM_MAX_TAGS, MDS_MAX_TAGS
    128,       // MDX_MAX_BONES, MDS_MAX_BONES
    63,        // MAX_QPATH (64, with its zero)
    8,         // MAX_SHADER_STAGES
    true,
    32,    // skin_t.surfaces[MD3_MAX_SURFACES]
    5,     // MAX_PART_MODELS
    true,  // no bound check: the lines overrun the arrays
};

// ET: Legacy (etlegacy/etlegacy): src/qcommon/qfiles.h raised SHADER_MAX_VERTEXES to 10000
// and marks the MD3_MAX_* counts "unused"; the skeletal bounds are those of ET.
// src/renderer/tr_local.h: RE_RegisterSkin ignores lines past MAX_SKIN_SURFACES and
// MAX_PART_MODELS with a warning.
constexpr TEngineLimits kETLegacy{
    "etlegacy",
    10000,      // SHADER_MAX_VERTEXES
    6 * 10000,  // SHADER_MAX_INDEXES (6 * SHADER_MAX_VERTEXES)
    0,          // MD3_MAX_SURFACES: unused
    0,          // MD3_MAX_FRAMES: unused
    0,          // MD3_MAX_TAGS: unused
    0,          // MD3_MAX_SHADERS: unused
    0,          // MD3_MAX_VERTS: unused
    0,          // MD3_MAX_TRIANGLES: unused
    6000,       // MDM_MAX_VERTS, MDS_MAX_VERTS
    8192,       // MDM_MAX_TRIANGLES, MDS_MAX_TRIANGLES
    32,         // MDM_MAX_SURFACES, MDS_MAX_SURFACES
    128,        // MDM_MAX_TAGS, MDS_MAX_TAGS
    128,        // MDX_MAX_BONES, MDS_MAX_BONES
    63,         // MAX_QPATH (64, with its zero)
    8,          // MAX_SHADER_STAGES
    true,
    256,    // MAX_SKIN_SURFACES
    7,      // MAX_PART_MODELS
    false,  // ignored with a warning
};

// ioquake3 (ioquake/ioq3): code/qcommon/qfiles.h (SHADER_MAX_VERTEXES, MD3_MAX_*,
// MAX_QPATH) and code/renderergl1/tr_local.h (MAX_SHADER_STAGES). R_LoadMD3 in
// code/renderergl1/tr_model.c refuses a surface when numVerts >= SHADER_MAX_VERTEXES or
// numTriangles * 3 >= SHADER_MAX_INDEXES, hence one less than each constant. It reads no
// Wolfenstein skeletal formats, nor "md3_" skin lines; RE_RegisterSkin ignores surface lines
// past MAX_SKIN_SURFACES.
constexpr TEngineLimits kIOQ3{
    "ioq3",
    1000 - 1,  // SHADER_MAX_VERTEXES 1000
    6000 - 1,  // SHADER_MAX_INDEXES (6 * SHADER_MAX_VERTEXES)
    32,        // MD3_MAX_SURFACES
    1024,      // MD3_MAX_FRAMES
    16,        // MD3_MAX_TAGS
    256,       // MD3_MAX_SHADERS
    4096,      // MD3_MAX_VERTS
    8192,      // MD3_MAX_TRIANGLES
    0,        0, 0, 0, 0,
    63,  // MAX_QPATH (64, with its zero)
    8,   // MAX_SHADER_STAGES
    false,
    256,    // MAX_SKIN_SURFACES
    0,      // "md3_" lines are not read
    false,  // ignored with a warning
};

}  // namespace

const TEngineLimits& LimitsOf(TEngine engine) {
    switch (engine) {
        case TEngine::ETLegacy:
            return kETLegacy;
        case TEngine::IOQ3:
            return kIOQ3;
        case TEngine::ET:
            break;
    }
    return kET;
}

std::optional<TEngine> EngineNamed(std::string_view name) {
    for (TEngine engine : {TEngine::ET, TEngine::ETLegacy, TEngine::IOQ3})
        if (name == LimitsOf(engine).name) return engine;
    return std::nullopt;
}
