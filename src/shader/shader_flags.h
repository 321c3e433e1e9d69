// Bits of a shader entry's flag word: where its shader or image was found. The surface panel
// draws its resolution markers from them.
#pragma once

#include <cstdint>

constexpr std::uint32_t kShaderFoundInGame = 0x01;  // with kShaderFoundInArchive: a game PAK
constexpr std::uint32_t kShaderFoundInScript = 0x02;
constexpr std::uint32_t kShaderImageFound = 0x04;
constexpr std::uint32_t kShaderNameFromSkin = 0x10;
constexpr std::uint32_t kShaderFromShaderList = 0x20;
constexpr std::uint32_t kShaderFoundInArchive = 0x40;  // the map archive or a game PAK
