#include "import/gltf_import_animation.h"

#include <algorithm>
#include <cmath>

#include "import/gltf_import_accessors.h"
#include "import/gltf_import_error.h"
#include "import/gltf_library.h"

namespace {

std::vector<double> Normalized(std::vector<double> q) {
    double length = 0;
    for (double v : q)
        length += v * v;
    length = std::sqrt(length);
    if (length > 0)
        for (double& v : q)
            v /= length;
    return q;
}

std::vector<double> Slerp(const float* a, const float* b, double t) {
    double dot = 0;
    for (int i = 0; i < 4; ++i)
        dot += double{a[i]} * b[i];
    // The shorter way round.
    const double sign = dot < 0 ? -1.0 : 1.0;
    dot = std::fabs(dot);
    double wa = 1 - t, wb = t;
    if (dot < 0.9995) {
        const double angle = std::acos(std::min(dot, 1.0));
        wa = std::sin((1 - t) * angle) / std::sin(angle);
        wb = std::sin(t * angle) / std::sin(angle);
    }
    std::vector<double> q(4);
    for (std::size_t i = 0; i < 4; ++i)
        q[i] = wa * a[i] + wb * sign * b[i];
    return Normalized(q);
}

}  // namespace

TGltfAnimation::TGltfAnimation(const tinygltf::Model& model, int index) {
    const tinygltf::Animation& animation = model.animations.at(static_cast<std::size_t>(index));
    name_ = animation.name;
    for (const tinygltf::AnimationChannel& c : animation.channels) {
        const std::string what = "animation \"" + name_ + "\"";
        if (c.target_node < 0 || static_cast<std::size_t>(c.target_node) >= model.nodes.size())
            throw TGltfRefusal(what + " animates node " + std::to_string(c.target_node) +
                               ", which does not exist");
        if (c.sampler < 0 || static_cast<std::size_t>(c.sampler) >= animation.samplers.size())
            throw TGltfRefusal(what + " names sampler " + std::to_string(c.sampler) +
                               ", which does not exist");
        const tinygltf::AnimationSampler& s =
            animation.samplers[static_cast<std::size_t>(c.sampler)];
        Channel channel;
        channel.node = c.target_node;
        if (c.target_path == "translation") {
            channel.path = Path::Translation, channel.width = 3;
        } else if (c.target_path == "rotation") {
            channel.path = Path::Rotation, channel.width = 4;
        } else if (c.target_path == "scale") {
            channel.path = Path::Scale, channel.width = 3;
        } else if (c.target_path == "weights") {
            channel.path = Path::Weights;
        } else {
            continue;  // a path of an extension; nothing of the model moves with it
        }
        channel.interpolation = s.interpolation == "STEP"          ? Interpolation::Step
                                : s.interpolation == "CUBICSPLINE" ? Interpolation::CubicSpline
                                                                   : Interpolation::Linear;
        channel.times = ReadGltfFloats(model, s.input, 1, what + " times");
        if (channel.times.empty()) continue;
        for (std::size_t k = 1; k < channel.times.size(); ++k)
            if (channel.times[k] < channel.times[k - 1])
                throw TGltfRefusal(what + ": keyframe times go backwards");
        const std::size_t perKey = channel.interpolation == Interpolation::CubicSpline ? 3 : 1;
        if (channel.path == Path::Weights) {
            const std::size_t count = GltfAccessorCount(model, s.output, what + " weights");
            channel.width = count / (channel.times.size() * perKey);
            channel.values = ReadGltfFloats(model, s.output, 1, what + " weights");
        } else {
            channel.values =
                ReadGltfFloats(model, s.output, static_cast<int>(channel.width), what + " values");
        }
        if (channel.width == 0 ||
            channel.values.size() != channel.times.size() * perKey * channel.width)
            throw TGltfRefusal(what + ": " + std::to_string(channel.values.size()) +
                               " output numbers do not match " +
                               std::to_string(channel.times.size()) + " keyframes");
        duration_ = std::max(duration_, double{channel.times.back()});
        channels_.push_back(std::move(channel));
    }
}

std::vector<double> TGltfAnimation::Sample(const Channel& c, double seconds) const {
    const std::size_t keys = c.times.size();
    const std::size_t w = c.width;
    const bool cubic = c.interpolation == Interpolation::CubicSpline;
    // The value (not a tangent) of key k starts here.
    const auto value = [&](std::size_t k) { return &c.values[(cubic ? 3 * k + 1 : k) * w]; };
    std::size_t next = static_cast<std::size_t>(
        std::upper_bound(c.times.begin(), c.times.end(), seconds) - c.times.begin());
    if (next == 0 || next == keys) {
        const float* v = value(next == 0 ? 0 : keys - 1);
        return std::vector<double>(v, v + w);
    }
    const std::size_t k = next - 1;
    const double span = double{c.times[next]} - c.times[k];
    const double t = span > 0 ? (seconds - c.times[k]) / span : 0.0;
    std::vector<double> out(w);
    if (c.interpolation == Interpolation::Step) {
        std::copy(value(k), value(k) + w, out.begin());
    } else if (cubic) {
        const float* p0 = value(k);
        const float* m0 = &c.values[(3 * k + 2) * w];  // out-tangent of key k
        const float* p1 = value(next);
        const float* m1 = &c.values[(3 * next) * w];  // in-tangent of the next key
        const double t2 = t * t, t3 = t2 * t;
        for (std::size_t i = 0; i < w; ++i)
            out[i] = (2 * t3 - 3 * t2 + 1) * p0[i] + (t3 - 2 * t2 + t) * span * m0[i] +
                     (-2 * t3 + 3 * t2) * p1[i] + (t3 - t2) * span * m1[i];
        if (c.path == Path::Rotation) out = Normalized(out);
    } else if (c.path == Path::Rotation) {
        out = Slerp(value(k), value(next), t);
    } else {
        for (std::size_t i = 0; i < w; ++i)
            out[i] = value(k)[i] * (1 - t) + value(next)[i] * t;
    }
    return out;
}

void TGltfAnimation::Apply(double seconds, std::vector<TGltfNodePose>& poses) const {
    for (const Channel& c : channels_) {
        TGltfNodePose& pose = poses[static_cast<std::size_t>(c.node)];
        const std::vector<double> v = Sample(c, seconds);
        switch (c.path) {
            case Path::Translation:
                pose.translation = {v[0], v[1], v[2]};
                break;
            case Path::Rotation:
                pose.rotation = {v[0], v[1], v[2], v[3]};
                break;
            case Path::Scale:
                pose.scale = {v[0], v[1], v[2]};
                break;
            case Path::Weights:
                pose.weights = v;
                break;
        }
    }
}

int FindGltfAnimation(const tinygltf::Model& model, const std::string& name) {
    if (name.empty()) return model.animations.empty() ? -1 : 0;
    for (std::size_t i = 0; i < model.animations.size(); ++i)
        if (model.animations[i].name == name) return static_cast<int>(i);
    return -1;
}
