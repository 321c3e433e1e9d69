#include "cli/archives/archive_reader.h"

#include "assets/archive_loads.h"
#include "check/character_check.h"
#include "check/file_check.h"
#include "cli/archives/archive_check_list.h"
#include "cli/archives/archive_info.h"
#include "cli/archives/gltf_export_command.h"
#include "cli/archives/character_info.h"
#include "cli/archives/map_texture_sizes.h"
#include "cli/archives/shader_image_check.h"
#include "cli/info_command.h"
#include "cli/model_source.h"

namespace {

std::string ExtractEntry(const std::string& archive, const std::string& entry,
                         const std::string& folder, std::string& error) {
    TEntryExtraction extraction = ExtractFromArchive(archive, entry, folder);
    if (extraction.ok()) return extraction.path;
    error = extraction.problems.empty() ? "\"" + entry + "\" is not in \"" + archive + "\""
                                        : extraction.problems.front();
    return "";
}

}  // namespace

void InstallArchiveReader() {
    InstallArchiveEntryExtractor(&ExtractEntry);
    InstallGameTextureSizes();
    InstallArchiveCheckListing();
    InstallShaderImageCheck();
    InstallCharacterCheck(&CheckCharacter);
    InstallCharacterDescriber(&DescribeCharacter);
    InstallArchiveDescription();
    InstallGltfExport();
}
