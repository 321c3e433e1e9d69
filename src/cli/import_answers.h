// The importers' questions answered from the command line: the bounds question by
// --scale-to-fit, the surface-limit question by --split-surfaces; nothing else is asked.
#pragma once

#include "import/surface_limits.h"
#include "io/user_prompts.h"

class TImportAnswers : public UserPrompts {
  public:
    TImportAnswers(bool scaleToFit, bool splitSurfaces)
        : scaleToFit_(scaleToFit), splitSurfaces_(splitSurfaces) {}

    PromptAnswer Ask(const std::string& caption, const std::string&, PromptButtons) override {
        const bool yes = caption == kSplitQuestionCaption ? splitSurfaces_ : scaleToFit_;
        return yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }

  private:
    bool scaleToFit_;
    bool splitSurfaces_;
};
