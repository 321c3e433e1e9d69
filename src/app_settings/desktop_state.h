// What a desktop user expects the program to remember between runs beyond its own settings:
// the models opened lately, where the window and its dividers were, the folder each dialog
// was last in, the view a model opens in and where screenshots go. Kept in the same profile
// file as the settings, in sections of its own, so older versions simply ignore it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

class TIniFile;

// A model opened lately, with what it takes to open it again.
struct TRecentModel {
    enum class Source { File, Game, Pk3 };
    Source source = Source::File;
    // File: one file, or the mesh and its animation of a skeletal pair. Game: the entries in
    // the game's PAKs (an MD3, an MDM with its MDX, or a .char). Pk3: the entry of `archive`.
    std::vector<std::string> paths;
    std::string archive;

    bool operator==(const TRecentModel&) const = default;
};

inline constexpr std::size_t kMaxRecentModels = 10;

// One line of the profile; nothing for a line this program did not write.
std::string RecentModelText(const TRecentModel& model);
std::optional<TRecentModel> RecentModelFromText(const std::string& text);
// `model` goes first; an earlier entry for the same model goes, and the list keeps the last
// kMaxRecentModels.
void AddRecentModel(std::vector<TRecentModel>& list, const TRecentModel& model);

struct TDesktopState {
    std::vector<TRecentModel> recent;
    // The toolkit's own encodings, as text; empty when never saved.
    std::string windowGeometry;
    std::string splitter;
    std::string tab;  // the name of the tab page chosen last
    // The last folder of each dialog, by the dialog's title.
    std::map<std::string, std::string> dialogFolders;
    // The name of the view a model opens in; empty for the view from above.
    std::string openingView;
    // Empty: beside the program (or in the user's data folder when that cannot be written).
    std::string screenshotFolder;

    bool operator==(const TDesktopState&) const = default;
};

TDesktopState DesktopStateFromIni(const TIniFile& ini);
void WriteDesktopState(TIniFile& ini, const TDesktopState& state);
