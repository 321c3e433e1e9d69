#include "import/gltf_accessors.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

int AddAccessor(tinygltf::Model& model, int view, int componentType, std::size_t count, int type) {
    tinygltf::Accessor accessor;
    accessor.bufferView = view;
    accessor.byteOffset = 0;
    accessor.componentType = componentType;
    accessor.count = count;
    accessor.type = type;
    model.accessors.push_back(std::move(accessor));
    return static_cast<int>(model.accessors.size()) - 1;
}

template <std::size_t N>
void SetBounds(tinygltf::Accessor& accessor, const float* values, std::size_t count) {
    std::vector<double> low(N, std::numeric_limits<double>::infinity());
    std::vector<double> high(N, -std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t c = 0; c < N; ++c) {
            low[c] = std::min(low[c], double{values[i * N + c]});
            high[c] = std::max(high[c], double{values[i * N + c]});
        }
    }
    if (count == 0) {
        low.assign(N, 0.0);
        high.assign(N, 0.0);
    }
    accessor.minValues = std::move(low);
    accessor.maxValues = std::move(high);
}

}  // namespace

int AddGltfView(tinygltf::Model& model, const void* data, std::size_t bytes, int target) {
    if (model.buffers.empty()) model.buffers.emplace_back();
    std::vector<unsigned char>& buffer = model.buffers[0].data;
    // Every component type is at most four bytes wide; a view on a four-byte boundary suits
    // them all.
    buffer.resize((buffer.size() + 3) & ~std::size_t{3});
    const std::size_t offset = buffer.size();
    buffer.resize(offset + bytes);
    if (bytes > 0) std::memcpy(buffer.data() + offset, data, bytes);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = offset;
    view.byteLength = bytes;
    view.target = target;
    model.bufferViews.push_back(std::move(view));
    return static_cast<int>(model.bufferViews.size()) - 1;
}

int AddGltfVec3Accessor(tinygltf::Model& model, std::span<const TVector3> values, bool withBounds,
                        int target) {
    const int view = AddGltfView(model, values.data(), values.size_bytes(), target);
    const int index =
        AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_FLOAT, values.size(), TINYGLTF_TYPE_VEC3);
    if (withBounds) {
        SetBounds<3>(model.accessors[static_cast<std::size_t>(index)],
                     reinterpret_cast<const float*>(values.data()), values.size());
    }
    return index;
}

int AddGltfVec2Accessor(tinygltf::Model& model, std::span<const std::array<float, 2>> values) {
    const int view =
        AddGltfView(model, values.data(), values.size_bytes(), TINYGLTF_TARGET_ARRAY_BUFFER);
    return AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_FLOAT, values.size(),
                       TINYGLTF_TYPE_VEC2);
}

int AddGltfVec4Accessor(tinygltf::Model& model, std::span<const std::array<float, 4>> values,
                        int target) {
    const int view = AddGltfView(model, values.data(), values.size_bytes(), target);
    return AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_FLOAT, values.size(),
                       TINYGLTF_TYPE_VEC4);
}

int AddGltfScalarAccessor(tinygltf::Model& model, std::span<const float> values, bool withBounds) {
    const int view = AddGltfView(model, values.data(), values.size_bytes(), 0);
    const int index = AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_FLOAT, values.size(),
                                  TINYGLTF_TYPE_SCALAR);
    if (withBounds) {
        SetBounds<1>(model.accessors[static_cast<std::size_t>(index)], values.data(),
                     values.size());
    }
    return index;
}

int AddGltfMat4Accessor(tinygltf::Model& model, std::span<const std::array<float, 16>> values) {
    const int view = AddGltfView(model, values.data(), values.size_bytes(), 0);
    return AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_FLOAT, values.size(),
                       TINYGLTF_TYPE_MAT4);
}

int AddGltfIndexAccessor(tinygltf::Model& model, std::span<const std::uint32_t> indices) {
    const std::uint32_t largest =
        indices.empty() ? 0 : *std::max_element(indices.begin(), indices.end());
    if (largest < 0xFFFF) {
        std::vector<std::uint16_t> narrow(indices.begin(), indices.end());
        const int view = AddGltfView(model, narrow.data(), narrow.size() * 2,
                                     TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        return AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, narrow.size(),
                           TINYGLTF_TYPE_SCALAR);
    }
    const int view = AddGltfView(model, indices.data(), indices.size_bytes(),
                                 TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    return AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, indices.size(),
                       TINYGLTF_TYPE_SCALAR);
}

int AddGltfJointsAccessor(tinygltf::Model& model,
                          std::span<const std::array<std::uint16_t, 4>> joints) {
    const int view =
        AddGltfView(model, joints.data(), joints.size_bytes(), TINYGLTF_TARGET_ARRAY_BUFFER);
    return AddAccessor(model, view, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, joints.size(),
                       TINYGLTF_TYPE_VEC4);
}

int AddGltfFrameTimes(tinygltf::Model& model, std::size_t count, double fps) {
    std::vector<float> times(count);
    for (std::size_t i = 0; i < count; ++i)
        times[i] = static_cast<float>(static_cast<double>(i) / fps);
    return AddGltfScalarAccessor(model, times, true);
}
