// File names from game data and the user: either separator, any letter case.
#pragma once

#include <string>

// Every '\' turned into '/'.
std::string WithForwardSlashes(std::string path);

// The file name's extension from its last dot, upper-cased (".TGA"); empty when the file
// name has no dot.
std::string UpperCaseExtension(const std::string& path);
