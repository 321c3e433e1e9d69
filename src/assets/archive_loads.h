// Taking model files out of archives to load them: from the game's PAKs ("Load MD3 From
// Game...") and from a map's PK3 ("Load MD3 From PK3..."). Entries are extracted to a file
// and the ordinary loaders read that file. MDM/MDX loads and skins from the game use
// ExtractFromArchive with the source PAK the browser reports.
#pragma once

#include <string>
#include <vector>

#include "assets/archive_extraction.h"
#include "assets/game_assets.h"
#include "md3/md3.h"

struct TEntryExtraction {
    std::string path;  // the file to load; empty when no archive gave the entry
    std::vector<std::string> problems;

    bool ok() const { return !path.empty(); }
};

// Extracts the entry from the first PAK in search order (the last listed first) that holds
// it and can give it, into `targetRoot`.
TEntryExtraction ExtractFromGamePaks(const TPakList& paks, const std::string& entryPath,
                                     const std::string& targetRoot);
// Extracts one entry of one archive into `targetRoot`.
TEntryExtraction ExtractFromArchive(const std::string& archivePath, const std::string& entryPath,
                                    const std::string& targetRoot);

struct TModelLoad {
    bool ok = false;
    std::string file;   // the extracted file that was read
    std::string error;  // why nothing was loaded (an extraction or a read problem)
    std::vector<std::string> problems;
};

// "Load MD3 From Game...": extracts into TmpDir from every PAK and reads the result.
// Throws FileError when the extracted file cannot be opened.
TModelLoad LoadMD3FromGame(TMD3& model, const TGameAssets& assets, const std::string& entryPath);

// "Load MD3 From PK3...": makes the archive the map archive (UseMapArchive: its scripts are
// extracted and indexed, textures are searched in it), extracts the entry into the map
// archive's folder and reads it.
TModelLoad LoadMD3FromMapArchive(TMD3& model, TGameAssets& assets, const std::string& archivePath,
                                 const std::string& entryPath, const StatusFn& status = {});
