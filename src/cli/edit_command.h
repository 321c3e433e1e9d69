// `veldra-cli edit IN OUT [operations...]`: loads IN, applies the edit operations in the
// order given and writes OUT. Any failure leaves OUT untouched.
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

// Throws CliError naming IN, the operation and the reason, or FileError for a file that
// cannot be opened or created. Warnings (coordinates clamped to the 16-bit range) go to
// `warnings`, one line each.
int RunEdit(const std::string& input, const std::string& output,
            const std::vector<EditOperation>& operations, std::ostream& warnings);
