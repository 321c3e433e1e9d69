#include "cli/skeletal_files.h"

#include <cerrno>
#include <filesystem>

#include "cli/cli_error.h"
#include "cli/frames_option.h"
#include "cli/model_source.h"
#include "io/file_error.h"
#include "io/user_prompts.h"
#include "skeletal/aninc.h"
#include "skeletal/skeletal_pair.h"

namespace {

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

FrameRange CheckedRange(std::int64_t first, std::int64_t last, const TMDX& anim,
                        const std::string& animPath, const std::string& what) {
    const auto frames = static_cast<std::int64_t>(anim.frames.size());
    if (first < 0 || last < first || last >= frames) {
        throw CliError("Cannot bake \"" + animPath + "\": " + what + " (frames " +
                       std::to_string(first) + " to " + std::to_string(last) +
                       ") is not within its " + Counted(anim.frames.size(), "frame", "frames"));
    }
    return {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last)};
}

}  // namespace

void LoadMDMOrThrow(TMDM& mesh, const std::string& path, std::ostream& warnings) {
    AnswerYesPrompts prompts([&warnings, &path](const std::string& question) {
        warnings << "veldra-cli: warning: \"" << path << "\": " << question << " Yes\n";
    });
    const TModelSource source(path);
    if (!mesh.LoadFromFile(source.File(), prompts)) {
        throw CliError("Cannot load \"" + path + "\": " + mesh.LastError());
    }
}

void LoadMDXOrThrow(TMDX& anim, const std::string& path) {
    // The loader only says false for a missing file; say it the way every other open does.
    const TModelSource source(path);
    std::error_code ec;
    if (!std::filesystem::exists(source.File(), ec)) throw FileError::CannotOpen(path, ENOENT);
    if (!anim.LoadFromFile(source.File())) {
        throw CliError("Cannot load \"" + path + "\": " + anim.LastError());
    }
}

void RequirePosable(const TMDM& mesh, const std::string& meshPath, const TMDX& anim,
                    const std::string& animPath) {
    const std::string problem = SkeletalPairProblem(mesh, anim);
    if (!problem.empty()) {
        throw CliError("Cannot pose \"" + meshPath + "\" with \"" + animPath + "\": " + problem);
    }
}

void LoadPosablePair(TMDM& mesh, const std::string& meshPath, TMDX& anim,
                     const std::string& animPath, std::ostream& warnings) {
    LoadMDMOrThrow(mesh, meshPath, warnings);
    LoadMDXOrThrow(anim, animPath);
    RequirePosable(mesh, meshPath, anim, animPath);
}

FrameRange AllFrames(const TMDX& anim, const std::string& animPath) {
    if (anim.frames.empty()) throw CliError("Cannot bake \"" + animPath + "\": it has no frames");
    return {0, static_cast<std::uint32_t>(anim.frames.size() - 1)};
}

FrameRange ParseFrameRange(const std::string& text, const TMDX& anim, const std::string& animPath) {
    const TFramesOption range = ParseFramesOption(text);
    return CheckedRange(range.first, range.last, anim, animPath, "--frames " + text);
}

TANINCFrame ListedAnimation(const std::string& name, const std::string& animPath) {
    const std::string listPath = AnincPathFor(animPath);
    TANINC list;
    if (!list.LoadFromFile(listPath)) {
        // The list's own reasons name the file (and the line) already.
        throw CliError(list.LastError().empty()
                           ? "Cannot load \"" + listPath + "\": the file does not exist"
                           : "Cannot load " + list.LastError());
    }
    const TANINCFrame* entry = FindAnimation(list, name);
    if (entry == nullptr) {
        throw CliError("Cannot load \"" + listPath + "\": it has no animation \"" + name + "\"");
    }
    return *entry;
}

FrameRange AnimationRange(const std::string& name, const TMDX& anim, const std::string& animPath) {
    const TANINCFrame entry = ListedAnimation(name, animPath);
    return CheckedRange(entry.firstFrame,
                        std::int64_t{entry.firstFrame} + std::int64_t{entry.numFrames} - 1, anim,
                        animPath, "the animation \"" + name + "\"");
}
