// The text of a --frames option: "FIRST-LAST" or one "FRAME", whole numbers, FIRST not after
// LAST. Whether the frames exist is the command's to check.
#pragma once

#include <cstdint>
#include <string>

struct TFramesOption {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

// Throws UsageError naming the text when it is no such range.
TFramesOption ParseFramesOption(const std::string& text);
