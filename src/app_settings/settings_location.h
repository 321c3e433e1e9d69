// Where the program's settings and working files live: beside the executable while they can
// be written there, so that a copy run from its own folder keeps everything with it;
// otherwise (a program installed into a system folder) in the user's own folders.
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

// The folder for screenshots and extracted game files: the program's while it can be written,
// else the user's.
std::string ChooseWorkFolder(
    const std::string& programFolder, const std::string& userFolder,
    const std::function<bool(const std::string&)>& canWrite = CanWriteSettingsFile);
