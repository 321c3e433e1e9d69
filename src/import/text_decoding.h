// Text files that some exporters write as UTF-16: the bytes as UTF-8, whatever the file's
// byte-order mark said.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// UTF-16 with a byte-order mark (either order) becomes UTF-8; a UTF-8 mark is dropped;
// anything else is taken as it is.
std::string DecodeTextBytes(std::span<const std::uint8_t> bytes);
