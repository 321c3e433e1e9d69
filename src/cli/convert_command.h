// `veldra-cli convert IN OUT`: reads IN and writes OUT in the format of OUT's extension.
#pragma once

#include <string>

int RunConvert(const std::string& input, const std::string& output);
