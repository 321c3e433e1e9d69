#include "io/scratch_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "io/file_error.h"

namespace fs = std::filesystem;

TScratchFolder::TScratchFolder(const std::string& prefix) {
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / (prefix + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw FileError::CannotCreate(pattern, errno);
    path_ = pattern;
}

TScratchFolder::~TScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}
