// Reading one face line of a map brush: the classic line with shift, rotation and scale,
// and the brush-primitive line with its 2x3 texture matrix.
#pragma once

#include <string_view>
#include <vector>

#include "import/map_records.h"

// Splits at spaces (runs give no empty tokens; tabs are no separators). A token that starts
// with a quote runs to the matching quote, quotes included, or to the end of the line.
std::vector<std::string_view> SplitMapTokens(std::string_view line);

// A decimal number with "." as the point whatever the locale; `fallback` for anything that
// is not a complete finite number.
float MapNumber(std::string_view token, float fallback);

// A classic face line. False, with the face untouched, for a line of 14 tokens or fewer;
// values a shorter line lacks keep their defaults.
bool ReadFaceLine(std::string_view line, TMapFace& face);

// A face line inside a brushDef block:
// ( x y z ) ( x y z ) ( x y z ) ( ( a b c ) ( d e f ) ) texture [flags...]
// False, with the face untouched, when the line is too short to hold the points.
bool ReadBrushDefFaceLine(std::string_view line, TMapFace& face);
