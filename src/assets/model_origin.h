// Where the loaded model came from, as far as the search for its images cares.
#pragma once

#include <string>

inline constexpr int kModelSourceNone = 0;
inline constexpr int kModelSourceGameArchive = 1;
inline constexpr int kModelSourceOtherPk3 = 2;
inline constexpr int kModelSourceFile = 3;

struct TModelOrigin {
    int modelSource = kModelSourceNone;  // ModelSource: only a file's folder is searched
    std::string modelDir;                // ModelDir: the folder of the loaded file
    // The folder of the file last chosen in the open dialog of the loaded model's kind;
    // stage images are looked for there first. Empty when that dialog has no file name.
    std::string dialogFolder;
};
