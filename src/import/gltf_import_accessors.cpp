#include "import/gltf_import_accessors.h"

#include <cmath>
#include <cstring>

#include "import/gltf_import_error.h"
#include "import/gltf_library.h"

namespace {

// The widest stride a buffer view may give; anything wider is no vertex layout.
constexpr std::uint64_t kMaxStride = 252;

int ComponentBytes(int componentType) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_BYTE:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return 1;
        case TINYGLTF_COMPONENT_TYPE_SHORT:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
            return 2;
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        case TINYGLTF_COMPONENT_TYPE_FLOAT:
            return 4;
        default:
            return 0;
    }
}

bool IsUnsignedType(int componentType) {
    return componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
           componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT ||
           componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
}

// One component at `p` as a double, scaled when normalized.
double Component(const unsigned char* p, int componentType, bool normalized) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_BYTE: {
            std::int8_t v;
            std::memcpy(&v, p, 1);
            return normalized ? std::max(v / 127.0, -1.0) : v;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return normalized ? *p / 255.0 : *p;
        case TINYGLTF_COMPONENT_TYPE_SHORT: {
            std::int16_t v;
            std::memcpy(&v, p, 2);
            return normalized ? std::max(v / 32767.0, -1.0) : v;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
            std::uint16_t v;
            std::memcpy(&v, p, 2);
            return normalized ? v / 65535.0 : v;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: {
            std::uint32_t v;
            std::memcpy(&v, p, 4);
            return normalized ? v / 4294967295.0 : v;
        }
        default: {
            float v;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
}

// A stretch of a buffer: `count` elements of `elementBytes`, `stride` apart, checked to lie
// inside the buffer view and the view inside its buffer.
struct TSpan {
    const unsigned char* first = nullptr;
    std::uint64_t stride = 0;
};

TSpan CheckedSpan(const tinygltf::Model& model, int viewIndex, std::uint64_t offset,
                  std::uint64_t count, std::uint64_t elementBytes, bool strided,
                  const std::string& what) {
    if (viewIndex < 0 || static_cast<std::size_t>(viewIndex) >= model.bufferViews.size())
        throw TGltfRefusal(what + ": buffer view " + std::to_string(viewIndex) + " does not exist");
    const tinygltf::BufferView& view = model.bufferViews[static_cast<std::size_t>(viewIndex)];
    if (view.buffer < 0 || static_cast<std::size_t>(view.buffer) >= model.buffers.size())
        throw TGltfRefusal(what + ": buffer " + std::to_string(view.buffer) + " does not exist");
    const std::vector<unsigned char>& data =
        model.buffers[static_cast<std::size_t>(view.buffer)].data;
    const std::uint64_t viewOffset = view.byteOffset, viewLength = view.byteLength;
    if (viewOffset > data.size() || viewLength > data.size() - viewOffset)
        throw TGltfRefusal(what + ": buffer view " + std::to_string(viewIndex) +
                           " reaches past the end of its buffer");
    std::uint64_t stride = elementBytes;
    if (strided && view.byteStride != 0) {
        if (view.byteStride < elementBytes || view.byteStride > kMaxStride)
            throw TGltfRefusal(what + ": stride " + std::to_string(view.byteStride) +
                               " does not fit elements of " + std::to_string(elementBytes) +
                               " bytes");
        stride = view.byteStride;
    }
    // count is within the element budget and stride below 256, so nothing here overflows.
    const std::uint64_t needed = count == 0 ? 0 : (count - 1) * stride + elementBytes;
    if (offset > viewLength || needed > viewLength - offset)
        throw TGltfRefusal(what + ": " + std::to_string(count) +
                           " elements reach past the end of buffer view " +
                           std::to_string(viewIndex));
    return {data.data() + viewOffset + offset, stride};
}

const tinygltf::Accessor& CheckedAccessor(const tinygltf::Model& model, int accessor,
                                          int components, const std::string& what) {
    if (accessor < 0 || static_cast<std::size_t>(accessor) >= model.accessors.size())
        throw TGltfRefusal(what + ": accessor " + std::to_string(accessor) + " does not exist");
    const tinygltf::Accessor& a = model.accessors[static_cast<std::size_t>(accessor)];
    if (tinygltf::GetNumComponentsInType(static_cast<std::uint32_t>(a.type)) != components)
        throw TGltfRefusal(
            what + ": accessor " + std::to_string(accessor) + " has " +
            std::to_string(tinygltf::GetNumComponentsInType(static_cast<std::uint32_t>(a.type))) +
            " components per element, not " + std::to_string(components));
    if (ComponentBytes(a.componentType) == 0)
        throw TGltfRefusal(what + ": accessor " + std::to_string(accessor) +
                           " has an unknown component type " + std::to_string(a.componentType));
    if (a.count > kGltfMaxAccessorValues / static_cast<std::size_t>(components))
        throw TGltfRefusal(what + ": accessor " + std::to_string(accessor) + " holds " +
                           std::to_string(a.count) + " elements, more than an import takes");
    return a;
}

// Reads every element into `out` (count x components), through `convert(pointer)` per component.
template <typename T, typename Convert>
std::vector<T> ReadElements(const tinygltf::Model& model, int accessor, int components,
                            const std::string& what, Convert&& convert) {
    const tinygltf::Accessor& a = CheckedAccessor(model, accessor, components, what);
    const auto comps = static_cast<std::uint64_t>(components);
    const std::uint64_t componentBytes =
        static_cast<std::uint64_t>(ComponentBytes(a.componentType));
    const std::uint64_t elementBytes = componentBytes * comps;
    std::vector<T> out(a.count * comps, T{});
    // Without a buffer view the elements are zeros, unless sparse values replace some.
    if (a.bufferView >= 0) {
        const TSpan span =
            CheckedSpan(model, a.bufferView, a.byteOffset, a.count, elementBytes, true, what);
        for (std::uint64_t i = 0; i < a.count; ++i)
            for (std::uint64_t c = 0; c < comps; ++c)
                out[i * comps + c] =
                    convert(span.first + i * span.stride + c * componentBytes, a.componentType);
    }
    if (!a.sparse.isSparse) return out;
    if (a.sparse.count < 0 || static_cast<std::uint64_t>(a.sparse.count) > a.count)
        throw TGltfRefusal(what + ": " + std::to_string(a.sparse.count) +
                           " sparse substitutions for " + std::to_string(a.count) + " elements");
    const auto n = static_cast<std::uint64_t>(a.sparse.count);
    const int indexType = a.sparse.indices.componentType;
    if (!IsUnsignedType(indexType) || a.sparse.indices.byteOffset < 0 ||
        a.sparse.values.byteOffset < 0)
        throw TGltfRefusal(what + ": sparse indices of an unknown kind");
    const std::uint64_t indexBytes = static_cast<std::uint64_t>(ComponentBytes(indexType));
    const TSpan indices = CheckedSpan(model, a.sparse.indices.bufferView,
                                      static_cast<std::uint64_t>(a.sparse.indices.byteOffset), n,
                                      indexBytes, false, what + " (sparse indices)");
    const TSpan values = CheckedSpan(model, a.sparse.values.bufferView,
                                     static_cast<std::uint64_t>(a.sparse.values.byteOffset), n,
                                     elementBytes, false, what + " (sparse values)");
    for (std::uint64_t k = 0; k < n; ++k) {
        const auto index =
            static_cast<std::uint64_t>(Component(indices.first + k * indexBytes, indexType, false));
        if (index >= a.count)
            throw TGltfRefusal(what + ": sparse index " + std::to_string(index) + " past the " +
                               std::to_string(a.count) + " elements");
        for (std::uint64_t c = 0; c < comps; ++c)
            out[index * comps + c] =
                convert(values.first + k * elementBytes + c * componentBytes, a.componentType);
    }
    return out;
}

}  // namespace

std::vector<float> ReadGltfFloats(const tinygltf::Model& model, int accessor, int components,
                                  const std::string& what) {
    const bool normalized = accessor >= 0 &&
                            static_cast<std::size_t>(accessor) < model.accessors.size() &&
                            model.accessors[static_cast<std::size_t>(accessor)].normalized;
    std::vector<float> out = ReadElements<float>(
        model, accessor, components, what, [normalized](const unsigned char* p, int type) {
            return static_cast<float>(Component(p, type, normalized));
        });
    for (float v : out)
        if (!std::isfinite(v))
            throw TGltfRefusal(what + ": accessor " + std::to_string(accessor) +
                               " holds a number that is not finite");
    return out;
}

std::vector<std::uint32_t> ReadGltfUnsigned(const tinygltf::Model& model, int accessor,
                                            int components, const std::string& what) {
    if (accessor >= 0 && static_cast<std::size_t>(accessor) < model.accessors.size() &&
        !IsUnsignedType(model.accessors[static_cast<std::size_t>(accessor)].componentType))
        throw TGltfRefusal(what + ": accessor " + std::to_string(accessor) +
                           " does not hold unsigned integers");
    return ReadElements<std::uint32_t>(
        model, accessor, components, what, [](const unsigned char* p, int type) {
            return static_cast<std::uint32_t>(Component(p, type, false));
        });
}

std::size_t GltfAccessorCount(const tinygltf::Model& model, int accessor, const std::string& what) {
    if (accessor < 0 || static_cast<std::size_t>(accessor) >= model.accessors.size())
        throw TGltfRefusal(what + ": accessor " + std::to_string(accessor) + " does not exist");
    const tinygltf::Accessor& a = model.accessors[static_cast<std::size_t>(accessor)];
    if (a.count > kGltfMaxAccessorValues)
        throw TGltfRefusal(what + ": accessor " + std::to_string(accessor) + " holds " +
                           std::to_string(a.count) + " elements, more than an import takes");
    return a.count;
}
