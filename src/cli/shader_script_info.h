// `veldra-cli info SCRIPT.shader`: the shaders a script defines, their stages and every
// directive, each marked by whether this program draws it on a model.
#pragma once

#include <ostream>
#include <string>

#include "shader/shader_directive_support.h"

class JsonWriter;

// Describes the script (a file or an archive entry) and returns its directive counts. Throws
// CliError when it cannot be read.
TDirectiveCounts DescribeShaderScript(const std::string& path, bool json, std::ostream& out);

// "12 drawn, 3 not applicable to models, 1 not drawn (7.7% of the directives that apply to
// models)"
std::string DirectiveCountsText(const TDirectiveCounts& counts);

// The "summary" object of the JSON form, written as the value of a key already given.
void WriteDirectiveCountsJson(const TDirectiveCounts& counts, JsonWriter& j);
