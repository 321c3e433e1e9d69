// A game-sized PAK for the benchmarks of the archive browser: 8,000 small entries in 400
// folders, a quarter of them models, written once per process into the temporary folder.
#pragma once

#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string& GamePakPath() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() /
                          ("veldra-bench-" + std::to_string(::getpid()) + ".pk3");
        int error = 0;
        zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (archive == nullptr) std::abort();
        static const char kData[] = "data";
        for (int i = 0; i < 8000; ++i) {
            const std::string name = "models/group" + std::to_string(i % 400) + "/item" +
                                     std::to_string(i) + (i % 4 == 0 ? ".md3" : ".tga");
            zip_source_t* source = zip_source_buffer(archive, kData, 4, 0);
            if (zip_file_add(archive, name.c_str(), source, 0) < 0) std::abort();
        }
        if (zip_close(archive) != 0) std::abort();
        return file.string();
    }();
    return path;
}
