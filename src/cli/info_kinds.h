// `veldra-cli info` for the text files around a model: skins and animation groups (.anim).
// Each takes a file or an archive entry.
#pragma once

#include <ostream>
#include <string>

void DescribeSkin(const std::string& path, bool json, std::ostream& out);
void DescribeAnimGroup(const std::string& path, bool json, std::ostream& out);
