#include "check/shader_script_check.h"

#include <cctype>
#include <string>

namespace {

// Splits the script into tokens the way the game's parser sees them: blanks separate,
// "//" and "/* */" are comments, braces stand alone.
class Tokens {
  public:
    explicit Tokens(std::string_view text) : text_(text) {}

    bool Next(std::string& token) {
        token.clear();
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "//") {
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
            } else if (text_.substr(pos_, 2) == "/*") {
                const std::size_t end = text_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? text_.size() : end + 2;
            } else {
                break;
            }
        }
        if (pos_ >= text_.size()) return false;
        if (text_[pos_] == '{' || text_[pos_] == '}') {
            token = text_[pos_++];
            return true;
        }
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) &&
               text_[pos_] != '{' && text_[pos_] != '}')
            token += text_[pos_++];
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

TCheckFindings CheckShaderScript(std::string_view text, const TEngineLimits& limits) {
    TCheckFindings out;
    Tokens tokens(text);
    std::string token, name;
    int depth = 0;
    std::int64_t stages = 0;
    std::size_t index = 0;
    auto where = [&] { return "shader " + std::to_string(index) + " \"" + name + "\""; };
    while (tokens.Next(token)) {
        if (token == "{") {
            ++depth;
            if (depth == 2) ++stages;
        } else if (token == "}") {
            if (depth == 0) {
                TCheckFinding f{"closing brace without an opening one", 0, 0, where(), false};
                out.push_back(f);
                continue;
            }
            if (--depth == 0) {
                if (stages > limits.shaderStages)
                    out.push_back({"stages", stages, limits.shaderStages, where()});
                ++index;
            }
        } else if (depth == 0) {
            name = token;
            stages = 0;
            if (static_cast<std::int64_t>(name.size()) > limits.nameChars)
                out.push_back({"characters in the shader name",
                               static_cast<std::int64_t>(name.size()), limits.nameChars,
                               "shader " + std::to_string(index)});
        }
    }
    if (depth > 0) out.push_back({"braces left open at the end", depth, 0, where()});
    return out;
}
