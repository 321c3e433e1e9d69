// A shader script as its author wrote it: shaders, their stage blocks and the directive lines
// in each, a directive being a keyword and the words after it on the same line (the way the
// scripts are written, and the way the game reads every keyword whose arguments end the line).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TShaderDirective {
    std::int64_t line = 0;           // 1-based line of the keyword
    std::int64_t stage = 0;          // 0 in the shader's header, else the 1-based stage block
    std::vector<std::string> words;  // the keyword first, as written
};

struct TScriptShader {
    std::string name;
    std::int64_t stages = 0;
    std::vector<TShaderDirective> directives;  // in script order
};

// Blanks separate words, "//" and "/* */" are comments, and a brace is a word of its own even
// when written against another. A directive ends at a line break (one inside a comment too)
// or at a brace, so
// "{ map a.tga }" holds one directive. Braces nested deeper than a stage count as part of the
// stage they are in; text outside any shader names the next shader.
std::vector<TScriptShader> ListShaderDirectives(std::string_view text);

// The words joined by single blanks.
std::string DirectiveText(const TShaderDirective& directive);
