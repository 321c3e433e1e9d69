// Where texture files are looked for. Paths from game data use either separator; on disk
// they use '/', and letter case is matched loosely (see io/path_case.h).
#pragma once

#include <string>
#include <vector>

#include "io/file_names.h"

class TexturePaths {
  public:
    // Appends a folder to the search list; a missing trailing separator is added. An empty
    // folder is the working folder.
    void AddSearchDir(const std::string& directory);

    // The program's own folders, in the order the main window registers them: its
    // "textures/BG/", its "textures/", the program folder itself and its "tmp/" extraction
    // folder.
    void AddProgramSearchDirs(const std::string& programDir);

    const std::vector<std::string>& SearchDirs() const { return searchDirs_; }

    // Finds the file a texture path names. The path itself is tried first; then, when it has
    // an extension, each search folder + the path; without an extension every search folder
    // is tried with ".TGA", then ".BMP", then ".JPG" (the extension order wins over the
    // folder order). Each try accepts a match that differs only in letter case. On success
    // `path` holds the file found, else the given path with '\' turned into '/'.
    bool ResolvePath(std::string& path) const;

  private:
    std::vector<std::string> searchDirs_;
};
