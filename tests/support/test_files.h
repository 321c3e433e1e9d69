// Helpers for tests that touch files: scratch folders, whole-file reads and the third-party
// sample files beside the checkout.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
// How many entries a folder holds (to see that no temporary file was left behind).
std::size_t FilesIn(const std::filesystem::path& folder);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The folder of third-party samples for one format ("md3", "shader", ...), or an empty
// path when ../shared/testdata is not beside the checkout.
std::filesystem::path SampleDir(const std::string& format);

// Every file in SampleDir(format), sorted by name.
std::vector<std::filesystem::path> SampleFiles(const std::string& format);

}  // namespace testing_support

// Skips the current test with a clear message when the sample folder is absent.
#define VELDRA_REQUIRE_SAMPLES(format)                                                  \
    do {                                                                                \
        if (::testing_support::SampleDir(format).empty())                               \
            GTEST_SKIP() << "third-party samples not found at " VELDRA_TESTDATA_DIR "/" \
                         << (format) << " (a plain clone has no ../shared)";            \
    } while (0)
