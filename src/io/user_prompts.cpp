#include "io/user_prompts.h"

std::string OnOneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        line += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return line;
}

PromptAnswer AnswerYesPrompts::Ask(const std::string&, const std::string& text, PromptButtons) {
    if (onQuestion_) onQuestion_(OnOneLine(text));
    return PromptAnswer::Yes;
}
