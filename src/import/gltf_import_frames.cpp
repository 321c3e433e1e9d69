#include "import/gltf_import_frames.h"

#include <cmath>

#include "import/gltf_import_error.h"
#include "import/gltf_library.h"

std::vector<TGltfNodePose> TGltfFrames::Poses(const TGltfScene& scene, std::size_t frame) const {
    std::vector<TGltfNodePose> poses = scene.RestPoses();
    if (animation) animation->Apply(times[frame], poses);
    return poses;
}

TGltfFrames ChooseGltfFrames(const tinygltf::Model& model, const TGltfImportChoice& choice,
                             std::size_t maxFrames, const char* kind) {
    TGltfFrames frames;
    const int index = FindGltfAnimation(model, choice.animationName);
    if (index < 0 && !choice.animationName.empty()) {
        std::string names;
        for (const tinygltf::Animation& a : model.animations)
            names += (names.empty() ? "" : ", ") + ("\"" + a.name + "\"");
        throw TGltfRefusal(
            "no animation is named \"" + choice.animationName + "\" (" +
            (names.empty() ? std::string("the file has none") : "the file has " + names) + ")");
    }
    std::size_t count = 1;
    if (index >= 0) {
        frames.animation.emplace(model, index);
        // A key a hair before a whole frame still makes that frame.
        const double span = std::floor(frames.animation->Duration() * kGltfFrameRate + 1e-6);
        // Past this no range could be asked for; the animation is refused as too long below.
        count = span < 1e9 ? static_cast<std::size_t>(span) + 1 : std::size_t{1000000000};
    }
    std::size_t first = 0, last = count - 1;
    if (choice.frames) {
        if (choice.frames->first > choice.frames->last || choice.frames->last >= count)
            throw TGltfRefusal("frames " + std::to_string(choice.frames->first) + "-" +
                               std::to_string(choice.frames->last) + " are not among the " +
                               std::to_string(count) + " frames (0-" + std::to_string(count - 1) +
                               ") the animation gives");
        first = choice.frames->first;
        last = choice.frames->last;
    }
    if (last - first + 1 > maxFrames)
        throw TGltfRefusal(std::to_string(last - first + 1) + " frames, more than the " +
                           std::to_string(maxFrames) + " " + kind +
                           " holds (--frames chooses a range)");
    for (std::size_t f = first; f <= last; ++f)
        frames.times.push_back(static_cast<double>(f) / kGltfFrameRate);
    return frames;
}
