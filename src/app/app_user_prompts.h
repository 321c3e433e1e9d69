// The core's questions (limit questions of the readers, the export's confirmation and save
// dialog, the weight factor) asked through the main window's dialogs, so tests answer them
// with the same scripted prompts as every other command.
#pragma once

#include <QString>

#include "io/user_prompts.h"

struct TUserPrompts;

class TAppUserPrompts : public UserPrompts {
  public:
    explicit TAppUserPrompts(const TUserPrompts& prompts) : prompts_(prompts) {}

    PromptAnswer Ask(const std::string& caption, const std::string& text,
                     PromptButtons buttons) override;
    std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                       const std::string& preset) override;
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;

  private:
    const TUserPrompts& prompts_;
};

// A core filter list ("Description (.EXT)|*.EXT", pairs joined by '|') as the toolkit's
// dialogs take it, each pattern also in lower case: "Description (.EXT) (*.EXT *.ext)",
// entries joined by ";;".
QString DialogFilter(const std::string& coreFilter);

// The suffix a save dialog adds to a name typed without one: ".MD3" becomes "md3", since the
// game looks files up case-sensitively on Linux and its own files end in lower case.
QString DialogSuffix(const std::string& defaultExtension);
