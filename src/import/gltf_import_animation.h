// A glTF animation read once and sampled at any moment: its channels' keyframes, checked
// and interpolated as the file asks (step, linear with spherical rotations, or cubic spline).
#pragma once

#include <string>
#include <vector>

#include "import/gltf_import_scene.h"

namespace tinygltf {
class Model;
}

class TGltfAnimation {
  public:
    // Reads animation `index`. Throws TGltfRefusal for channels that name nodes, samplers or
    // accessors that do not exist, keyframe times that go backwards or are not finite, and
    // outputs that do not match their times.
    TGltfAnimation(const tinygltf::Model& model, int index);

    const std::string& Name() const { return name_; }
    // The time of the last keyframe, in seconds.
    double Duration() const { return duration_; }
    // Sets the animated parts of `poses` (indexed by node) to their values at `seconds`.
    void Apply(double seconds, std::vector<TGltfNodePose>& poses) const;

  private:
    enum class Path { Translation, Rotation, Scale, Weights };
    enum class Interpolation { Step, Linear, CubicSpline };
    struct Channel {
        int node = 0;
        Path path = Path::Translation;
        Interpolation interpolation = Interpolation::Linear;
        std::size_t width = 0;  // numbers per value
        std::vector<float> times;
        std::vector<float> values;  // three values per key for cubic splines
    };
    std::vector<double> Sample(const Channel& channel, double seconds) const;

    std::string name_;
    double duration_ = 0;
    std::vector<Channel> channels_;
};

// The index of the animation named `name` (the first one when `name` is empty), or -1.
int FindGltfAnimation(const tinygltf::Model& model, const std::string& name);
