// `veldra-cli edit` on the skeletal formats. An MDM mesh takes --scale-weights, and, posed by
// the animation given with --mdx, --recalc-normals (at frame 0), --recalc-normals-at FRAME and
// --smooth N (posed at frame 0); an MDX animation takes --default-bone-names. OUT has the
// format of IN, and a failing command writes nothing.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/edit_command.h"

// The options only the skeletal formats take, for the list of `edit` options.
const std::vector<EditOptionInfo>& SkeletalEditOptions();
bool IsSkeletalEditOption(const std::string& option);

// Throws UsageError for operations that do not apply to IN's format or have malformed values,
// CliError for ones the model does not allow, FileError for files that cannot be opened.
int RunSkeletalEdit(const std::string& input, const std::string& output,
                    const std::vector<EditOperation>& operations, std::ostream& warnings);
