#include "cli/pk3_arguments.h"

#include <CLI/CLI.hpp>

CLI::App* AddPk3Command(CLI::App& app, TPk3Options& options) {
    CLI::App* pk3 = app.add_subcommand("pk3", "List or extract the files of a PK3 (ZIP) archive");
    pk3->require_subcommand(1);
    CLI::App* list = pk3->add_subcommand("list", "List the files of an archive");
    list->add_option("ARCHIVE", options.archive, "Archive to read")->required();
    list->add_option("--mask", options.listMask,
                     "Only files matching this mask, such as '*.md3' or 'scripts/*.shader'");
    list->add_flag("--json", options.json, "Print one JSON object");
    CLI::App* extract = pk3->add_subcommand(
        "extract", "Write the files matching the masks (default: all) below a folder");
    extract->add_option("ARCHIVE", options.archive, "Archive to read")->required();
    extract->add_option("MASK", options.extractMasks, "Masks such as '*.md3'");
    extract->add_option("--to", options.targetDir, "Folder to write into")->required();
    return pk3;
}
