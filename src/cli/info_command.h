// `veldra-cli info`: what a model file holds, as text or as one JSON object.
#pragma once

#include <ostream>
#include <string>

int RunInfo(const std::string& path, bool json, std::ostream& out);
