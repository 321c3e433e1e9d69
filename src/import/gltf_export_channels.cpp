#include "import/gltf_export_channels.h"

void AddGltfChannel(tinygltf::Animation& animation, int node, const char* path, int times,
                    int values) {
    tinygltf::AnimationSampler sampler;
    sampler.input = times;
    sampler.output = values;
    sampler.interpolation = "LINEAR";
    animation.samplers.push_back(std::move(sampler));
    tinygltf::AnimationChannel channel;
    channel.sampler = static_cast<int>(animation.samplers.size()) - 1;
    channel.target_node = node;
    channel.target_path = path;
    animation.channels.push_back(std::move(channel));
}

void KeepHemisphere(std::vector<std::array<float, 4>>& track) {
    for (std::size_t i = 1; i < track.size(); ++i) {
        const std::array<float, 4>& p = track[i - 1];
        std::array<float, 4>& r = track[i];
        if (p[0] * r[0] + p[1] * r[1] + p[2] * r[2] + p[3] * r[3] < 0.0f) {
            for (float& c : r)
                c = -c;
        }
    }
}

void SetNodeTransform(tinygltf::Node& node, TVector3 translationInGltf, const TGltfQuaternion& q) {
    node.translation = {translationInGltf.x, translationInGltf.y, translationInGltf.z};
    node.rotation = {q[0], q[1], q[2], q[3]};
}
