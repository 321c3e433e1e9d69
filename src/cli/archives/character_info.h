// `veldra-cli info x.char`: what a character definition names and what of it was found,
// looked up as `render` looks it up (its own archive, then the folders above it).
#pragma once

#include <ostream>
#include <string>

// Throws CliError or FileError when the definition cannot be read.
void DescribeCharacter(const std::string& path, bool json, std::ostream& out);
