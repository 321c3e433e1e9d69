// Numbers typed by people or found in text files, read the same whatever the C locale says.
#pragma once

#include <optional>
#include <string_view>

// The whole text as a finite decimal number: an optional sign (a plus as well), digits with
// an optional point and exponent. Anything else, blanks included, and infinities, NaNs and
// out-of-range values give nothing.
std::optional<double> ParseDecimalText(std::string_view text);
// The same, rounded once, straight to single precision.
std::optional<float> ParseDecimalFloat(std::string_view text);
