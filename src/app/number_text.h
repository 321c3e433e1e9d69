// The texts the panels show for numbers. They never depend on the locale: the program shows
// a point as decimal separator everywhere.
#pragma once

#include <cstdint>
#include <string>

#include "math/vector.h"

// The shortest digits that read back as the same 32-bit float, laid out like "%.15g": plain
// decimals for exponents from -5 to 14, scientific notation beyond. Zero is "0", never "-0".
std::string FloatText(float value);

// At most six decimals without exponent, trailing zeros dropped: a tag axis component of
// 1.2e-08 reads "0", as it is for anyone placing the tag. Zero is "0", never "-0".
std::string PlainDecimalText(float value);

// x, y and z separated by two spaces.
std::string Vector3Text(const TVector3& v);

// Eight upper-case hexadecimal digits and "h"; negative values show their 32-bit pattern.
std::string FlagsText(std::int32_t flags);
