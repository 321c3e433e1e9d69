// Where the program's settings live: beside the executable while they can be written there,
// so that a copy run from its own folder keeps everything with it; otherwise (a program
// installed into a system folder) in the user's configuration folder.
#pragma once

#include <functional>
#include <string>

struct TSettingsFiles {
    std::string read;
    std::string write;
};

// Whether `file` can be written: the file itself when it exists, else its folder.
bool CanWriteSettingsFile(const std::string& file);

// The user's file is read once it exists; until then the one beside the program (defaults
// an installer put there) is read and the user's is written.
TSettingsFiles ChooseSettingsFiles(
    const std::string& besideProgram, const std::string& userFile,
    const std::function<bool(const std::string&)>& canWrite = CanWriteSettingsFile);
