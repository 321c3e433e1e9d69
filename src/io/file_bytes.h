// Whole-file reads for formats whose decoders work on a buffer in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file into `bytes`. Throws FileError when the file cannot be opened; a file
// larger than `maxBytes` or a read error gives false with the reason in `error`.
bool ReadFileBytes(const std::string& fileName, std::int64_t maxBytes,
                   std::vector<std::uint8_t>& bytes, std::string& error);
