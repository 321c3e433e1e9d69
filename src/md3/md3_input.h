// Numbers and tags typed by the user, shared by the edit commands of the window and the CLI.
// Numbers use "." as the decimal separator whatever the locale.
#pragma once

#include <array>
#include <string_view>

#include "md3/md3.h"

inline constexpr const char* kInputConversionErrorText = "Error converting user-input data";

// A finite decimal number, optionally signed and surrounded by blanks; false for anything
// else (an empty text, a comma as separator, trailing characters, inf, nan).
bool ParseDecimal(std::string_view text, float& value);

// A tag from its name (at most 64 characters kept) and twelve numbers in the order origin
// x, y, z, then axis 0, 1 and 2, each x, y, z. Axes are kept as typed, neither normalized
// nor made orthogonal. False, with `tag` untouched, when any number does not convert.
bool MakeTag(std::string_view name, const std::array<std::string_view, 12>& numbers, TMD3Tag& tag);
