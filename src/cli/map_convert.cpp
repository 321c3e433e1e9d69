#include "cli/map_convert.h"

#include <csignal>
#include <filesystem>

#include "cli/cli_error.h"
#include "cli/import_answers.h"
#include "cli/terminal_progress.h"
#include "io/file_names.h"
#include "io/user_prompts.h"
#include "md3/md3.h"

namespace {

TMapTextureSizesMaker installedMaker = nullptr;

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

// Ctrl+C while a map is read: the reading stops at the next brush and the command ends with a
// message, instead of the process vanishing mid-line. The previous handler is back afterwards.
class TInterruptible : public TProgress {
  public:
    explicit TInterruptible(TProgress* shown) : shown_(shown) {
        interrupted = 0;
        previous_ = std::signal(SIGINT, OnInterrupt);
    }
    ~TInterruptible() override { std::signal(SIGINT, previous_); }
    TInterruptible(const TInterruptible&) = delete;
    TInterruptible& operator=(const TInterruptible&) = delete;

    bool Report(std::uint64_t done, std::uint64_t total) override {
        if (interrupted != 0) return false;
        return shown_ == nullptr || shown_->Report(done, total);
    }

  private:
    TProgress* shown_;
    void (*previous_)(int) = SIG_DFL;
};

}  // namespace

void InstallMapTextureSizes(TMapTextureSizesMaker maker) {
    installedMaker = maker;
}

bool IsMapFile(const std::string& path) {
    return UpperCaseExtension(path) == ".MAP";
}

void MapToMD3(const std::string& input, TMD3& model, const TMapConvertOptions& options,
              std::ostream& warnings) {
    TLevelMap map;
    if (!options.gameDir.empty()) {
        if (installedMaker == nullptr)
            throw CliError("Cannot read \"" + options.gameDir +
                           "\": this program reads no archives");
        std::vector<std::string> problems;
        const std::string mapDir = std::filesystem::absolute(input).parent_path().string() + "/";
        map.SetTextureSizeLookup(installedMaker(options.gameDir, mapDir, problems));
        for (const std::string& problem : problems)
            warnings << "veldra-cli: warning: " << problem << '\n';
    }
    bool loaded = false;
    {
        TerminalProgress progress("Converting map");
        TInterruptible interruptible(progress.IfShown());
        loaded = map.LoadMap(input, {}, &interruptible);
    }
    if (map.Cancelled()) throw CliError("Cannot convert \"" + input + "\": interrupted");
    if (!loaded) {
        throw CliError("Cannot load \"" + input + "\": " +
                       (map.LastError().empty() ? std::string("no such file") : map.LastError()));
    }
    TImportAnswers answers(options.scaleToFit, options.splitSurfaces);
    if (!map.ConvertToMD3(model, &answers))
        throw CliError("Cannot convert \"" + input +
                       "\": " + WithAnsweringOption(OnOneLine(map.LastError())));
    for (const std::string& note : {map.SkippedText(), map.Note()}) {
        if (!note.empty()) warnings << "veldra-cli: warning: " << input << ": " << note << '\n';
    }
}

int RunMapConvert(const std::string& input, const std::string& output,
                  const TMapConvertOptions& options, std::ostream& warnings) {
    if (UpperCaseExtension(output) != ".MD3" && UpperCaseExtension(output) != ".MDC") {
        throw UsageError("Cannot write \"" + output + "\": a map converts only to .md3 or .mdc");
    }
    TMD3 model;
    MapToMD3(input, model, options, warnings);
    if (!model.SaveToFile(output))
        throw CliError("Cannot write \"" + output + "\": " + model.LastError());
    return 0;
}
