// A game installation built at test time: game/etmain with PAKs made by libzip and loose
// files, and the program's extraction folder tmp/ beside it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "assets/game_assets.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"

namespace testing_support {

class GameFixture : public ::testing::Test {
  protected:
    std::string GamePath() const { return dir_.File("game/"); }
    std::string Etmain() const { return dir_.File("game/etmain/"); }
    std::string TmpDir() const { return dir_.File("tmp/"); }
    std::string File(const std::string& name) const { return dir_.File(name); }

    // Writes game/etmain/<name> and returns its path.
    std::string Pak(const std::string& name, const std::vector<ZipEntry>& entries);
    // Writes a loose file below the scratch folder (folders are made).
    std::string Loose(const std::string& relative, const std::string& text);

    // A fresh TGameAssets with the given PAKs added in order and the game path set.
    TGameAssets& Assets(const std::vector<std::string>& paks);

  private:
    ScratchDir dir_;
    std::unique_ptr<TGameAssets> assets_;
};

// A shader script defining `name` with one stage drawing `image`.
std::string ShaderScript(const std::string& name, const std::string& image);
// Small image files of the three kinds the game uses.
std::string JpegFile();
std::string TgaFile();

}  // namespace testing_support
