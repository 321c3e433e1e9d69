// The model behind the PK3 browser (TdlgPK3): for a mode, the tree of archives, their stored
// folders and the matching files, as plain data the dialog shows in its QTreeWidget. Built
// from the archives' directories only; nothing is extracted.
//
// The dialog, for each showing:
//   sources = mode 3 ? {the archive the user picks (OpenDialogPK3)} : PK3SourcesOf(paks);
//   TPK3Tree tree = BuildPK3Tree(mode, sources);
//   show tree.messages (one message box each), set the caption to tree.caption;
//   level 1: tree.archives (expanded), level 2: their folders, level 3: the files;
//   when !tree.found, cancel at once;
//   on click/double-click of a file node: SelectPK3File(tree, a, f, i) gives what the
//   callers read (entry path, entryFolder, sourcePak, chosenArchive).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "assets/pak_list.h"

enum TPK3Mode : int {
    kPK3ModeMD3 = 0,
    kPK3ModeSkin = 1,
    kPK3ModeArchiveFile = 3,
    kPK3ModeMDM = 4,
    kPK3ModeMDX = 5,
    kPK3ModeCharacter = 6,
};

// The masks of the files each mode lists: MD3 and MDC models, skins, MDM meshes, MDX animations
// or characters; none for any other mode (which lists nothing).
std::vector<std::string> PK3ModeMasks(int mode);
// The dialog's caption while listing an archive, for example "Select an MD3-model from the
// game-PAK (pak0.pk3)"; "Select a .PK3" in the archive-file mode.
std::string PK3ModeCaption(int mode, const std::string& archiveName);

struct TPK3Source {
    std::string path;
    std::string name;  // the archive's file name
};

std::vector<TPK3Source> PK3SourcesOf(const TPakList& paks);

struct TPK3FolderNode {
    std::string folder;  // the stored folder with its trailing '/'; empty at the top level
    std::vector<std::string> files;  // file names, in archive order
};

struct TPK3ArchiveNode {
    std::string name;  // caption: the archive's file name
    std::string path;
    // One node per run of entries in the same stored folder (compared exactly): entries of
    // one folder that are not adjacent in the archive get one node per run.
    std::vector<TPK3FolderNode> folders;
};

struct TPK3Tree {
    int mode = kPK3ModeMD3;
    std::vector<TPK3ArchiveNode> archives;
    std::string caption;        // the caption of the last archive listed
    bool found = false;         // at least one file matched
    std::string chosenArchive;  // the archive listed in the archive-file mode
    // One message per archive skipped: "File in use: <path>\n\nThe file will be skipped",
    // or the reader's reason for an archive that cannot be opened.
    std::vector<std::string> messages;
};

// Lists the sources in order with the mode's mask. An archive another program has locked
// (`inUse`, IsFileInUse by default) is skipped with a message and gets no node; one that
// cannot be opened keeps its node, without children, and adds the reader's message.
TPK3Tree BuildPK3Tree(int mode, const std::vector<TPK3Source>& sources,
                      const std::function<bool(const std::string&)>& inUse = {});

// What a click on a file node reports.
struct TPK3Selection {
    std::string entryPath;      // the folder node's text followed by the file's
    std::string entryFolder;    // the stored folder
    std::string sourcePak;      // the archive it lies in (not in the archive-file mode)
    std::string chosenArchive;  // the archive-file mode's archive
};

// Nothing for indexes outside the tree.
std::optional<TPK3Selection> SelectPK3File(const TPK3Tree& tree, std::size_t archive,
                                           std::size_t folder, std::size_t file);
