// The OpenGL blend factors a shader stage can name. The values are OpenGL's own enums, so the
// drawing hands them to glBlendFunc unchanged; the names differ from GL's macros so this
// header can sit beside <GL/gl.h> while the core library stays free of OpenGL.
#pragma once

#include <cstdint>

constexpr std::int32_t kGlZero = 0;
constexpr std::int32_t kGlOne = 1;
constexpr std::int32_t kGlSrcColor = 0x0300;
constexpr std::int32_t kGlOneMinusSrcColor = 0x0301;
constexpr std::int32_t kGlSrcAlpha = 0x0302;
constexpr std::int32_t kGlOneMinusSrcAlpha = 0x0303;
constexpr std::int32_t kGlDstAlpha = 0x0304;
constexpr std::int32_t kGlOneMinusDstAlpha = 0x0305;
constexpr std::int32_t kGlDstColor = 0x0306;
constexpr std::int32_t kGlOneMinusDstColor = 0x0307;
constexpr std::int32_t kGlSrcAlphaSaturate = 0x0308;
