// The importers' questions answered from the command line: the bounds question by
// --scale-to-fit, the surface-limit question by --split-surfaces; nothing else is asked.
#pragma once

#include <string>

#include "import/surface_limits.h"
#include "io/user_prompts.h"

// A refusal's reason with the option that would have answered its question Yes.
inline std::string WithAnsweringOption(const std::string& reason) {
    if (reason.starts_with("MAX_VERTS") || reason.starts_with("MAX_TRIANGLES"))
        return reason + " (--split-surfaces splits it)";
    if (reason.find("exceeding the MD3 bounds") != std::string::npos)
        return reason + " (--scale-to-fit scales it down)";
    return reason;
}

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
