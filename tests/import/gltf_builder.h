// glTF files built in the tests with the library's own model: one buffer, one accessor per
// array, nodes, meshes, skins and animations added as each test needs them.
#pragma once

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "import/gltf_library.h"

class GltfBuilder {
  public:
    tinygltf::Model model;

    GltfBuilder() {
        model.asset.version = "2.0";
        model.buffers.resize(1);
        model.scenes.resize(1);
        model.defaultScene = 0;
    }

    // An accessor over `values` of `components` per element, stored as `componentType`
    // (floats as they are, integers as whole numbers of that type).
    int Accessor(const std::vector<float>& values, int type,
                 int componentType = TINYGLTF_COMPONENT_TYPE_FLOAT, bool normalized = false) {
        const int components = tinygltf::GetNumComponentsInType(static_cast<std::uint32_t>(type));
        const int view = View(Encode(values, componentType));
        tinygltf::Accessor a;
        a.bufferView = view;
        a.componentType = componentType;
        a.normalized = normalized;
        a.type = type;
        a.count = values.size() / static_cast<std::size_t>(components);
        model.accessors.push_back(a);
        return static_cast<int>(model.accessors.size()) - 1;
    }
    int Floats(const std::vector<float>& v, int type) { return Accessor(v, type); }
    int Indices(const std::vector<float>& v) {
        return Accessor(v, TINYGLTF_TYPE_SCALAR, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
    }

    // A buffer view over bytes appended to the buffer, 4-byte aligned.
    int View(const std::vector<std::uint8_t>& bytes) {
        std::vector<unsigned char>& data = model.buffers[0].data;
        while (data.size() % 4 != 0)
            data.push_back(0);
        tinygltf::BufferView v;
        v.buffer = 0;
        v.byteOffset = data.size();
        v.byteLength = bytes.size();
        data.insert(data.end(), bytes.begin(), bytes.end());
        model.bufferViews.push_back(v);
        return static_cast<int>(model.bufferViews.size()) - 1;
    }

    // A mesh of one primitive with the given attributes; returns the mesh.
    int Mesh(const std::string& name, std::map<std::string, int> attributes, int indices = -1,
             int mode = TINYGLTF_MODE_TRIANGLES) {
        tinygltf::Primitive p;
        p.attributes = std::move(attributes);
        p.indices = indices;
        p.mode = mode;
        tinygltf::Mesh m;
        m.name = name;
        m.primitives.push_back(p);
        model.meshes.push_back(m);
        return static_cast<int>(model.meshes.size()) - 1;
    }

    // A node under `parent` (-1: a root of the scene); returns the node.
    int Node(const std::string& name, int parent = -1, int mesh = -1) {
        tinygltf::Node n;
        n.name = name;
        n.mesh = mesh;
        model.nodes.push_back(n);
        const int index = static_cast<int>(model.nodes.size()) - 1;
        if (parent < 0)
            model.scenes[0].nodes.push_back(index);
        else
            model.nodes[static_cast<std::size_t>(parent)].children.push_back(index);
        return index;
    }

    // A channel of animation `animation` (created when new) moving `path` of `node` through
    // `values` at `times`.
    void Channel(std::size_t animation, int node, const std::string& path,
                 const std::vector<float>& times, const std::vector<float>& values, int type,
                 const std::string& interpolation = "LINEAR") {
        if (model.animations.size() <= animation) model.animations.resize(animation + 1);
        tinygltf::Animation& a = model.animations[animation];
        tinygltf::AnimationSampler s;
        s.input = Floats(times, TINYGLTF_TYPE_SCALAR);
        s.output = Floats(values, type);
        s.interpolation = interpolation;
        a.samplers.push_back(s);
        tinygltf::AnimationChannel c;
        c.sampler = static_cast<int>(a.samplers.size()) - 1;
        c.target_node = node;
        c.target_path = path;
        a.channels.push_back(c);
    }

    std::vector<std::uint8_t> Bytes(bool binary = true) {
        model.buffers[0].uri.clear();
        std::ostringstream out;
        tinygltf::TinyGLTF writer;
        writer.WriteGltfSceneToStream(&model, out, false, binary);
        const std::string text = out.str();
        return {text.begin(), text.end()};
    }

  private:
    static std::vector<std::uint8_t> Encode(const std::vector<float>& values, int componentType) {
        std::vector<std::uint8_t> out;
        for (float v : values) {
            std::uint8_t b[4] = {};
            std::size_t n = 4;
            switch (componentType) {
                case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
                    b[0] = static_cast<std::uint8_t>(v), n = 1;
                    break;
                case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
                    const auto s = static_cast<std::uint16_t>(v);
                    std::memcpy(b, &s, 2), n = 2;
                    break;
                }
                case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: {
                    const auto u = static_cast<std::uint32_t>(v);
                    std::memcpy(b, &u, 4);
                    break;
                }
                default:
                    std::memcpy(b, &v, 4);
            }
            out.insert(out.end(), b, b + n);
        }
        return out;
    }
};
