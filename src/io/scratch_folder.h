// A private folder in the system's temporary folder for files taken out of archives, removed
// with everything in it when the object goes.
#pragma once

#include <string>

class TScratchFolder {
  public:
    // "<temp>/<prefix>XXXXXX". Throws FileError when it cannot be made.
    explicit TScratchFolder(const std::string& prefix);
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    // Without a trailing separator.
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};
