// The files the game reads for a vertex model's name. A model is named as "X.md3", but the
// game also takes the compressed "X.mdc" when no "X.md3" exists, and loads "X_1" and "X_2"
// (either kind) as the model's lower levels of detail. Every lookup of a model the game
// names goes through these lists, so that the program finds what the game would draw.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Level 0 (the model) and the two lower levels the game looks for.
inline constexpr int kModelLodLevels = 3;

// The names the game tries, in its order, for the model `name` at level `level`: for level 0
// the name ending in '3', then in 'c' ("X.md3", "X.mdc", whichever of the two was named); for
// a lower level the name without its extension and "_N.md3", then "_N.mdc". A name that is not
// of a vertex model (".mdm", ".ase", no extension) is its own only candidate at level 0 and has
// no lower levels. Empty for a level outside 0..kModelLodLevels-1.
std::vector<std::string> ModelFileCandidates(std::string_view name, int level = 0);

// Gives the local file of a name (a game path, an archive entry, a path on disk); empty when it
// is nowhere.
using TGameFileFinder = std::function<std::string(const std::string& name)>;

// The first of the candidates that `find` gives a file for; empty when none.
std::string FindModelFile(const std::string& name, const TGameFileFinder& find, int level = 0);

struct TModelLevelFile {
    int level = 0;
    std::string file;  // the local file found for the level
};

// The lower levels (1 and 2) of the model `name` that `find` gives a file for, in order of
// level; a level without a file is left out.
std::vector<TModelLevelFile> FindLowerModelLevels(const std::string& name,
                                                  const TGameFileFinder& find);

// A finder for paths on disk, ignoring letter case as the game's data needs.
std::string FindFileOnDisk(const std::string& path);

// "\"a\"", "\"a\" or \"b\"": the candidates for a message that none was found.
std::string CandidateListText(const std::vector<std::string>& candidates);
