#include "shader/shader_directive_lines.h"

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ' && c != '\n';
}

class DirectiveWalker {
  public:
    std::vector<TScriptShader> Walk(std::string_view text) {
        std::size_t at = 0;
        while (at < text.size()) {
            const char c = text[at];
            if (c == '\n') {
                open_ = false;
                ++line_;
                ++at;
            } else if (IsBlank(c)) {
                ++at;
            } else if (text.substr(at, 2) == "//") {
                while (at < text.size() && text[at] != '\n')
                    ++at;
            } else if (text.substr(at, 2) == "/*") {
                const std::size_t end = text.find("*/", at + 2);
                const std::size_t stop = end == std::string_view::npos ? text.size() : end + 2;
                for (; at < stop; ++at) {
                    if (text[at] != '\n') continue;
                    open_ = false;
                    ++line_;
                }
            } else if (c == '{' || c == '}') {
                Brace(c == '{');
                ++at;
            } else {
                const std::size_t start = at;
                while (at < text.size() && !IsBlank(text[at]) && text[at] != '\n' &&
                       text[at] != '{' && text[at] != '}' && text.substr(at, 2) != "//" &&
                       text.substr(at, 2) != "/*")
                    ++at;
                Word(std::string(text.substr(start, at - start)));
            }
        }
        return std::move(shaders_);
    }

  private:
    void Brace(bool opens) {
        open_ = false;
        if (!opens) {
            if (depth_ > 0) --depth_;
            return;
        }
        if (++depth_ == 2) ++Current().stages;
    }

    void Word(std::string word) {
        if (depth_ == 0) {
            shaders_.push_back({std::move(word), 0, {}});
            return;
        }
        TScriptShader& shader = Current();
        if (open_) {
            shader.directives.back().words.push_back(std::move(word));
            return;
        }
        const std::int64_t stage = depth_ >= 2 ? shader.stages : 0;
        shader.directives.push_back({line_, stage, {std::move(word)}});
        open_ = true;
    }

    // A block opened before any name belongs to a shader without one.
    TScriptShader& Current() {
        if (shaders_.empty()) shaders_.push_back({});
        return shaders_.back();
    }

    std::vector<TScriptShader> shaders_;
    std::int64_t line_ = 1;
    int depth_ = 0;
    bool open_ = false;  // the last directive may take more words from this line
};

}  // namespace

std::vector<TScriptShader> ListShaderDirectives(std::string_view text) {
    return DirectiveWalker().Walk(text);
}

std::string DirectiveText(const TShaderDirective& directive) {
    std::string text;
    for (const std::string& word : directive.words) {
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}
