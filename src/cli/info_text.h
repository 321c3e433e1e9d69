// How `info` shows numbers and names in its text form, shared by every format it describes.
#pragma once

#include <string>

#include "math/vector.h"

// A float as a stream prints it by default (six significant digits), without a stream per
// number: a long animation prints thousands of them.
std::string NumberText(float value);

// "(x, y, z)"
std::string VectorText(TVector3 v);

// Names as the file holds them, in double quotes. Control characters would break the line or
// drive the terminal, so they show as '?'.
std::string Quoted(const std::string& text);
