// Fixtures for the importer tests: a prompt that answers from a script, and MS3D files built
// in code.
#pragma once

#include <array>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "import/ms3d_format.h"
#include "io/user_prompts.h"

class ScriptedAnswers : public UserPrompts {
  public:
    std::deque<PromptAnswer> answers;  // empty: Cancel
    std::vector<std::string> questions;

    PromptAnswer Ask(const std::string&, const std::string& text, PromptButtons) override {
        questions.push_back(text);
        if (answers.empty()) return PromptAnswer::Cancel;
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
};

struct Ms3dTestGroup {
    std::string name;
    std::vector<std::uint16_t> triangles;
    std::uint8_t material = kMS3DNoMaterial;
};

// An MS3D file with the given vertices, triangles (three vertex indices each), groups and
// texture names, no joints, and no trailer.
class Ms3dBuilder {
  public:
    std::vector<TVector3> vertices;
    std::vector<std::array<std::uint16_t, 3>> triangles;
    std::vector<Ms3dTestGroup> groups;
    std::vector<std::string> textures;
    std::uint16_t joints = 0;
    // Per triangle (s, t) of its three corners; without them uneven values of their own.
    std::vector<std::array<float, 6>> texCoords;

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        Put(out, kMS3DIdent, 10);
        PutValue(out, std::int32_t{4});
        PutValue(out, static_cast<std::uint16_t>(vertices.size()));
        for (const TVector3& p : vertices) {
            TMS3DVertex v;
            v.position = p;
            PutValue(out, v);
        }
        PutValue(out, static_cast<std::uint16_t>(triangles.size()));
        for (std::size_t i = 0; i < triangles.size(); ++i) {
            TMS3DTriangle r;
            for (int j = 0; j < 3; ++j) {
                r.vertexIndices[j] = triangles[i][j];
                r.vertexNormals[j] = {0.0f, 0.0f, 1.0f};
                r.s[j] = i < texCoords.size() ? texCoords[i][2 * j] : 0.25f * j;
                // Uneven, so that a flip shows.
                r.t[j] = i < texCoords.size() ? texCoords[i][2 * j + 1] : 0.125f + 0.375f * j;
            }
            PutValue(out, r);
        }
        PutValue(out, static_cast<std::uint16_t>(groups.size()));
        for (const Ms3dTestGroup& g : groups) {
            TMS3DGroupHead head;
            std::strncpy(head.name, g.name.c_str(), sizeof(head.name) - 1);
            head.numTriangles = static_cast<std::uint16_t>(g.triangles.size());
            PutValue(out, head);
            for (std::uint16_t i : g.triangles)
                PutValue(out, i);
            PutValue(out, g.material);
        }
        PutValue(out, static_cast<std::uint16_t>(textures.size()));
        for (const std::string& texture : textures) {
            TMS3DMaterial m;
            std::strncpy(m.texture, texture.c_str(), sizeof(m.texture) - 1);
            PutValue(out, m);
        }
        PutValue(out, TMS3DAnimation{});
        PutValue(out, joints);
        for (std::uint16_t j = 0; j < joints; ++j)
            PutValue(out, TMS3DJointHead{});
        return out;
    }

  private:
    static void Put(std::vector<std::uint8_t>& out, const void* data, std::size_t size) {
        const std::size_t at = out.size();
        out.resize(at + size);
        std::memcpy(out.data() + at, data, size);
    }
    template <typename T>
    static void PutValue(std::vector<std::uint8_t>& out, const T& value) {
        Put(out, &value, sizeof(T));
    }
};
