// How values are spelled in a settings profile. Numbers always use a decimal point, whatever
// LC_NUMERIC says: the GUI toolkit sets it from the user's environment, and a file written
// under one locale must read the same under every other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// `text` between `open` and `close`.
std::string Enclosed(char open, std::string_view text, char close);

// Spaces and tabs at both ends removed.
std::string_view TrimIniBlanks(std::string_view text);

// A whole decimal integer with an optional sign; anything else, or a value out of range,
// gives nothing.
std::optional<std::int64_t> ParseIniInteger(std::string_view text);

// A whole finite number ("1.5", "-2", "1e-3"); a decimal comma, trailing text, "nan" and
// "inf" give nothing.
std::optional<double> ParseIniFloat(std::string_view text);

// The shortest text that ParseIniFloat reads back as exactly `value` ("1.5", "2", "2.2").
std::string FormatIniFloat(double value);

// The text after a key's "=" as a reader of profiles sees it: blanks at both ends dropped,
// then one pair of enclosing double quotes.
std::string DecodeIniValue(std::string_view raw);

// The text to put after "=" so that DecodeIniValue gives `value` back: quoted when it has
// blanks at either end or is itself enclosed in quotes. Line breaks cannot be kept.
std::string EncodeIniValue(std::string_view value);
