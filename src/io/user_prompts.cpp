#include "io/user_prompts.h"

PromptAnswer AnswerYesPrompts::Ask(const std::string&, const std::string& text, PromptButtons) {
    if (onQuestion_) {
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            line += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
        }
        onQuestion_(line);
    }
    return PromptAnswer::Yes;
}
