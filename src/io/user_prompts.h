// Questions that core code puts to the person using the program. The desktop program answers
// them with dialogs, tests with scripted answers and veldra-cli from its command line, so no
// model class needs to know which of them is asking.
#pragma once

#include <functional>
#include <optional>
#include <string>

enum class PromptAnswer { Yes, No, Cancel };

// Which buttons a question offers.
enum class PromptButtons { YesNo, YesNoCancel };

// A file chooser. `filter` lists entries as "Description (.EXT)|*.EXT", several joined by '|'
// in pairs; `defaultExtension` (".MD3") is added to a name typed without one.
struct FileChoice {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string title;
    std::string filter;
    std::string defaultExtension;
};

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;

    // A message box with a question. `text` may hold "\r\n" line breaks.
    virtual PromptAnswer Ask(const std::string& caption, const std::string& text,
                             PromptButtons buttons) = 0;

    // A one-line input box that starts with `preset`; nothing when cancelled.
    virtual std::optional<std::string> AskText(const std::string& caption,
                                               const std::string& prompt,
                                               const std::string& preset) = 0;

    // A file to open or to save (a save dialog asks before overwriting); nothing when
    // cancelled.
    virtual std::optional<std::string> ChooseFile(const FileChoice& choice) = 0;
};

// A question's text with its line breaks ("\r\n", "\r" or "\n") turned into spaces, for a
// report that must stay one line.
std::string OnOneLine(const std::string& text);

// Gives every question the same answer and cancels every input box and file choice: for
// commands whose one question is answered by a command-line flag.
class FixedAnswerPrompts : public UserPrompts {
  public:
    explicit FixedAnswerPrompts(bool yes) : answer_(yes ? PromptAnswer::Yes : PromptAnswer::No) {}

    PromptAnswer Ask(const std::string&, const std::string&, PromptButtons) override {
        return answer_;
    }
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }

  private:
    PromptAnswer answer_;
};

// Answers every question Yes and cancels every input box and file choice: for runs where
// nobody can be asked. Each question is handed to `onQuestion` first, with its line breaks
// turned into spaces, so that it can be shown as a warning.
class AnswerYesPrompts : public UserPrompts {
  public:
    explicit AnswerYesPrompts(std::function<void(const std::string&)> onQuestion = {})
        : onQuestion_(std::move(onQuestion)) {}

    PromptAnswer Ask(const std::string& caption, const std::string& text,
                     PromptButtons buttons) override;
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }

  private:
    std::function<void(const std::string&)> onQuestion_;
};
