// The fuzz input as a file, for readers that take a path.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// Writes the input to a file of this process named after `reader` and gives its path, or
// an empty text when the file cannot be written. tmpfs when there is one: the writers the
// targets call sync every file they commit.
inline std::string WriteFuzzInput(const char* reader, const std::uint8_t* data, std::size_t size) {
    const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                             "/veldra-fuzz-" + reader + "-" + std::to_string(::getpid());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return {};
    const bool written = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written ? path : std::string();
}
