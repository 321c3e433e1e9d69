// Shader scripts as the indexer and the parser see them: lines without comments, trimmed,
// optionally lower-cased, plus the few text tests every keyword rule is built from. Keywords
// are found as substrings anywhere in a line, never as tokens; that is how the scripts have
// always been read here, and the parser's rules depend on it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits raw script bytes at LF (a CR before it is trimmed away with the other blanks), cuts
// each line at its first "//" and trims blanks and control characters from both ends. Any
// byte is accepted; nothing is assumed about the encoding.
std::vector<std::string> PrepareShaderLines(std::string_view text, bool lowerCase);

// Reads a script file as bytes and prepares its lines. Throws FileError when the file cannot
// be opened or read.
std::vector<std::string> LoadShaderLines(const std::string& fileName, bool lowerCase);

// Blanks and control characters removed from both ends.
std::string_view TrimBlanks(std::string_view text);

inline bool Contains(std::string_view line, std::string_view word) {
    return line.find(word) != std::string_view::npos;
}

// The trimmed text after the first occurrence of `word`; empty when `word` is not there.
std::string_view TextAfter(std::string_view line, std::string_view word);

// ASCII letters only: scripts are byte strings, and the game compares them the same way.
std::string LowerCase(std::string_view text);

// Every "\" turned into "/": model files often name shaders with Windows separators.
std::string ForwardSlashes(std::string_view text);
