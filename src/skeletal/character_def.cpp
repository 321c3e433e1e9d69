#include "skeletal/character_def.h"

#include <cctype>
#include <cstdint>
#include <utility>
#include <vector>

#include "io/file_bytes.h"

namespace {

// A definition is a dozen lines; anything this large is not one.
constexpr std::int64_t kMaxFileBytes = 1 << 20;

struct Token {
    std::string text;
    int line = 0;
};

// Quoted strings keep their blanks; an unterminated quote ends at the end of its line.
std::vector<Token> Tokenize(const std::string& text) {
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (static_cast<unsigned char>(c) <= ' ') {
            ++i;
        } else if (text.compare(i, 2, "//") == 0) {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (text.compare(i, 2, "/*") == 0) {
            const std::size_t end = text.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? text.size() : end + 2;
            for (; i < stop; ++i)
                line += text[i] == '\n' ? 1 : 0;
        } else if (c == '"') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != '"' && text[end] != '\n')
                ++end;
            tokens.push_back({text.substr(i + 1, end - i - 1), line});
            i = end < text.size() && text[end] == '"' ? end + 1 : end;
        } else if (c == '{' || c == '}') {
            tokens.push_back({std::string(1, c), line});
            ++i;
        } else {
            std::size_t end = i;
            while (end < text.size() && static_cast<unsigned char>(text[end]) > ' ' &&
                   text[end] != '{' && text[end] != '}' && text[end] != '"')
                ++end;
            tokens.push_back({text.substr(i, end - i), line});
            i = end;
        }
    }
    return tokens;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string* Field(TCharacterDef& def, const std::string& key) {
    const std::pair<const char*, std::string TCharacterDef::*> fields[] = {
        {"mesh", &TCharacterDef::mesh},
        {"animationgroup", &TCharacterDef::animationGroup},
        {"animationscript", &TCharacterDef::animationScript},
        {"skin", &TCharacterDef::skin},
        {"undressedcorpsemodel", &TCharacterDef::undressedCorpseModel},
        {"undressedcorpseskin", &TCharacterDef::undressedCorpseSkin},
        {"hudhead", &TCharacterDef::hudHead},
        {"hudheadanims", &TCharacterDef::hudHeadAnims},
        {"hudheadskin", &TCharacterDef::hudHeadSkin},
    };
    const std::string lower = Lower(key);
    for (const auto& [name, member] : fields)
        if (lower == name) return &(def.*member);
    return nullptr;
}

TCharacterParse Failure(int line, const std::string& what) {
    TCharacterParse result;
    result.error = "line " + std::to_string(line) + ": " + what;
    return result;
}

}  // namespace

TCharacterParse ParseCharacterDef(const std::string& text) {
    const std::vector<Token> tokens = Tokenize(text);
    if (tokens.empty() || Lower(tokens[0].text) != "characterdef")
        return Failure(tokens.empty() ? 1 : tokens[0].line, "expected \"characterDef\"");
    if (tokens.size() < 2 || tokens[1].text != "{")
        return Failure(tokens[0].line, "expected \"{\" after \"characterDef\"");
    TCharacterParse result;
    std::size_t i = 2;
    for (;; i += 2) {
        if (i >= tokens.size()) return Failure(tokens.back().line, "missing \"}\"");
        const Token& key = tokens[i];
        if (key.text == "}") break;
        std::string* field = Field(result.def, key.text);
        if (field == nullptr) return Failure(key.line, "unknown key \"" + key.text + "\"");
        if (i + 1 >= tokens.size() || tokens[i + 1].line != key.line || tokens[i + 1].text == "}" ||
            tokens[i + 1].text == "{")
            return Failure(key.line, "\"" + key.text + "\" has no value");
        *field = tokens[i + 1].text;
    }
    if (result.def.mesh.empty()) return Failure(tokens[i].line, "the definition names no mesh");
    result.ok = true;
    return result;
}

TCharacterParse LoadCharacterDef(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(fileName, kMaxFileBytes, bytes, error)) {
        TCharacterParse result;
        result.error = "\"" + fileName + "\": " + error;
        return result;
    }
    TCharacterParse result = ParseCharacterDef(std::string(bytes.begin(), bytes.end()));
    if (!result.ok) result.error = "\"" + fileName + "\", " + result.error;
    return result;
}

std::string ModelSkinPath(const std::string& modelPath, const std::string& skinName) {
    const std::size_t slash = modelPath.find_last_of("/\\");
    const std::size_t dot = modelPath.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return modelPath.substr(0, hasExtension ? dot : std::string::npos) + "_" + skinName + ".skin";
}

std::string CharacterSkinPath(const TCharacterDef& def) {
    if (def.skin.empty()) return {};
    return ModelSkinPath(def.mesh, def.skin);
}
