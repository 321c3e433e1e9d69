// Where the loaded model came from, as far as the search for its images cares.
#pragma once

#include <string>

struct TModelOrigin {
    // ModelSource 3: the model was loaded from a file on disk, so its folder is searched for
    // images; models taken out of archives are not.
    bool loadedFromFile = false;
    std::string modelDir;  // ModelDir: the folder of the loaded file
    // The folder of the file last chosen in the open dialog of the loaded model's kind;
    // stage images are looked for there first. Empty when that dialog has no file name.
    std::string dialogFolder;
};
