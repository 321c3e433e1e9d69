// Where a character's files are looked for besides the folders above its definition: a game
// folder (its etmain, then its PAKs) and the archive the definition came from, whose entries
// win over the game's. What is taken out of archives goes to a scratch folder that is removed
// with the object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "io/scratch_folder.h"

class TCharacterSources {
  public:
    // Either may be empty. Archives that cannot be read are listed in Problems(); what they
    // would have given is then reported missing by the lookups.
    TCharacterSources(const std::string& gameDir, const std::string& archive);

    // For FindCharacterFiles; nullptr when neither a game nor an archive was given.
    const TGameAssets* Game() const { return assets_.get(); }
    const std::vector<std::string>& Problems() const { return problems_; }

  private:
    std::unique_ptr<TScratchFolder> scratch_;
    std::unique_ptr<TGameAssets> assets_;
    std::vector<std::string> problems_;
};
