// TGameAssets: the game data the main window (or the CLI) works with — the game path, the
// PAK list, the extraction folders, the three shader-file indexes, the map archive chosen
// for the loaded model and the skin table. No Qt, no GL: the GUI shows what it reports, and
// the texture upload reads the paths it resolves.
//
// Typical use (the GUI's start-up and commands):
//   TGameAssets assets(appDir + "tmp/");
//   assets.CreateWorkFolders();
//   assets.AddPaksFromSettings(settings.paksList);            // then FirstPakInUse()
//   assets.RebuildShaderList(settings.shaderList);
//   assets.SetGamePath(settings.gameDir);                      // scans the game's scripts
//   ... load a model, then ResolveSurfaceShaders (surface_resolution.h)
#pragma once

#include <string>
#include <vector>

#include "assets/pak_list.h"
#include "assets/skin.h"
#include "assets/status_text.h"
#include "io/progress.h"
#include "shader/shader_index.h"

struct TShaderScanReport {
    int files = 0;  // game script files indexed
    int names = 0;  // shader names in them
    // Archives that could not be opened, entries refused or damaged, scripts not readable.
    std::vector<std::string> problems;
    bool cancelled = false;  // the progress reporter stopped the scan
};

class TGameAssets {
  public:
    // `tmpDir`: the extraction root (the program's "tmp/"); the map archive's folder is
    // tmpDir + "tmpmap/", the PAKs' folders tmpDir + "gpN/".
    explicit TGameAssets(const std::string& tmpDir);

    const std::string& TmpDir() const { return paks_.TmpDir(); }
    const std::string& MapDir() const { return mapDir_; }
    // Creates TmpDir, MapDir and every PAK's extraction folder; the reasons of failures.
    std::vector<std::string> CreateWorkFolders() const;

    // --- game path ---------------------------------------------------------------------
    // Ends with '/'; empty when no game is set.
    const std::string& GamePath() const { return gamePath_; }
    // Empties the game index; then adopts `path` (a '/' is appended) when it is a game
    // folder (IsValidGamePath) and scans the game's scripts (ScanGameShaderFiles). Returns whether
    // it was adopted; otherwise the previous game path stays. The caller resolves the surfaces
    // afterwards.
    // A scan cancelled through `progress` (reported once per archive) leaves the game path
    // and its index as they were and returns false.
    bool SetGamePath(const std::string& path, const StatusFn& status = {},
                     TShaderScanReport* report = nullptr, TProgress* progress = nullptr);
    // No game: the game path and the game index empty ("Select Game Path..." starts so, and a
    // cancelled choice leaves it so).
    void ClearGamePath();

    // For headless use (veldra-cli render --game): makes every ".pk3" of the game's etmain
    // folder the PAK list in the game's order, then sets the game path. Returns the archives that
    // could not be added and the scan's problems.
    std::vector<std::string> UseGameFolder(const std::string& gamePath,
                                           const StatusFn& status = {});

    // --- PAK list ----------------------------------------------------------------------
    const TPakList& Paks() const { return paks_; }
    // See TPakList::AddPak. A PAK added later is searched for textures and models at once;
    // its scripts are indexed by the next game scan.
    int AddPak(const std::string& path, const StatusFn& status = {}) {
        return paks_.AddPak(path, status);
    }
    // Removes the PAK and the scripts the game index took from it, so no lookup reaches an
    // archive that is no longer listed.
    bool DeletePak(int index);
    // Moves a PAK in the list; the game index keeps naming the same archives. Which of two
    // scripts of one name counts follows the new order only after the next game scan.
    bool MovePak(int from, int to);
    void ClearPaks();
    std::vector<std::string> AddPaksFromSettings(const std::vector<std::string>& paths,
                                                 const StatusFn& status = {}) {
        return paks_.AddPaksFromSettings(paths, status);
    }

    // --- shader-file indexes -----------------------------------------------------------
    const TShaderFileIndexes& Indexes() const { return indexes_; }
    int GameScriptCount() const { return static_cast<int>(indexes_.game.size()); }
    int GameShaderCount() const;

    // Indexes the scripts of the game folder's etmain/scripts, then those of every PAK
    // (extracted to its folder's scripts/) in search order; a script file name already
    // indexed is skipped, so the game folder wins over every PAK and a later PAK over an
    // earlier one. Ends with the status "Total shaderfiles/shaders found: F / N". Needs a
    // game path.
    TShaderScanReport ScanGameShaderFiles(const StatusFn& status = {},
                                          TProgress* progress = nullptr);
    // Indexes the map archive's scripts: the files just extracted from it (only these, so
    // scripts left over from another map are never taken for this one's).
    std::vector<std::string> ScanMapShaderFiles(const std::vector<std::string>& scriptFiles,
                                                const StatusFn& status = {});
    void ClearMapShaderFiles() { indexes_.mapArchive.clear(); }
    // The shader-list index anew from the user's list, in order; missing files and repeats
    // are skipped. Returns the reasons of scripts that could not be read.
    std::vector<std::string> RebuildShaderList(const std::vector<std::string>& files,
                                               const StatusFn& status = {});

    // --- map archive -------------------------------------------------------------------
    // The archive the browser's archive mode chose for the loaded model: textures are also
    // searched in it. Every whole-model load forgets it.
    const std::string& MapArchive() const { return mapArchive_; }
    // Makes `archivePath` the map archive: extracts its "scripts/*.shader" into MapDir and
    // indexes them (ScanMapShaderFiles). Returns what could not be extracted or read; an
    // archive that cannot be opened is one of them, and leaves no map archive.
    std::vector<std::string> UseMapArchive(const std::string& archivePath,
                                           const StatusFn& status = {});
    void SetMapArchive(const std::string& path) { mapArchive_ = path; }
    void ForgetMapArchive() { mapArchive_.clear(); }

    // --- skin --------------------------------------------------------------------------
    TSkin& Skin() { return skin_; }
    const TSkin& Skin() const { return skin_; }
    // See LoadSkin in skin.h; the caller resolves the surfaces afterwards.
    bool LoadSkin(const std::string& fileName);
    // Empties the table; true when it held records (the surfaces then need resolving).
    bool ClearSkin();

  private:
    void IndexGameFolderScripts(TShaderScanReport& report);
    void IndexPakScripts(int pakNr, TShaderScanReport& report);

    std::string mapDir_;
    std::string gamePath_;
    TPakList paks_;
    TShaderFileIndexes indexes_;
    std::string mapArchive_;
    TSkin skin_;
};

// What the surface panel shows for the script file an index entry stands for:
// "SHADERLIST:\\<name>", "MAP:\\scripts\<name>", "GAME:\\scripts\<name>", or the path of a
// script in the game folder.
std::string ShaderFileDisplayText(ShaderFileIndex index, const TETShader& entry);
