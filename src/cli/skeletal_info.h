// `info` for the skeletal formats: MDM meshes, MDX animations and .aninc animation lists.
#pragma once

#include <ostream>
#include <string>

// Each throws CliError or FileError when the file cannot be described. Mesh limit questions
// are answered Yes and shown on `warnings`.
void DescribeMDM(const std::string& path, bool json, std::ostream& out, std::ostream& warnings);
void DescribeMDX(const std::string& path, bool json, std::ostream& out);
void DescribeANINC(const std::string& path, bool json, std::ostream& out);
