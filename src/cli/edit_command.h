// `veldra-cli edit IN OUT [operations...]`: loads IN, applies the edit operations in the
// order given and writes OUT. MDM and MDX files go to the skeletal edits
// (skeletal_edit_command.h). Every operation is checked before anything is read, side files
// (--save-tags) are written only together with OUT, and a failing command leaves every
// file as it was.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// One operation as typed: the option ("--rotate") and its value ("z:90", empty for flags).
struct EditOperation {
    std::string option;
    std::string value;
};

// The options `edit` takes, with the value each expects (empty for flags) and its help.
struct EditOptionInfo {
    const char* option;
    const char* valueName;
    const char* help;
};
const std::vector<EditOptionInfo>& EditOptions();

// Throws UsageError for an operation that cannot be used whatever the model (a malformed
// value, a wrong extension, a side file that is IN or OUT), CliError naming IN, the
// operation and the reason for one the model does not allow, and FileError when IN or OUT
// cannot be opened or created. Warnings (coordinates clamped to the 16-bit range) go to
// `warnings`, one line each.
int RunEdit(const std::string& input, const std::string& output,
            const std::vector<EditOperation>& operations, std::ostream& warnings);
