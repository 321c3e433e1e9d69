#include "skeletal_test_util.h"

#include "md3/md3.h"

namespace skeletal_test {

void MakePair(TMDM& mesh, TMDX& anim, const PairShape& shape) {
    anim = TMDX();
    std::memcpy(anim.header.ident, kMDXIdent, 4);
    SetNameField("test.mdx", anim.header.name);
    anim.header.version = 2;
    anim.header.torsoParent = 1;
    for (int b = 0; b < shape.bones; ++b) {
        TMDXBoneInfo bone;
        SetNameField("bone" + std::to_string(b), bone.name);
        bone.parent = b - 1;
        bone.parentDist = b == 0 ? 0.0f : 10.0f;
        bone.torsoWeight = 0.5f;
        anim.bones.push_back(bone);
    }
    for (int f = 0; f < shape.frames; ++f) {
        TMDXFrame frame;
        frame.minBounds = {-1.0f - f, -2.0f, -3.0f};
        frame.maxBounds = {4.0f + f, 5.0f, 6.0f};
        frame.localOrigin = {0.5f, 0.25f, f * 1.0f};
        frame.radius = 7.0f + f;
        for (int b = 0; b < shape.bones; ++b) {
            TMDXBoneFrame bf;
            bf.angles[0] = static_cast<std::int16_t>(1000 * f + 300 * b);
            bf.angles[1] = static_cast<std::int16_t>(-700 * f + 4096 * b);
            bf.angles[2] = static_cast<std::int16_t>(250 * b - 90 * f);
            bf.ofsAngles[0] = static_cast<std::int16_t>(500 * b + 40 * f);
            bf.ofsAngles[1] = static_cast<std::int16_t>(-2000 * b);
            frame.boneFrames.push_back(bf);
        }
        anim.frames.push_back(frame);
    }
    anim.header.numFrames = static_cast<std::uint32_t>(shape.frames);
    anim.header.numBones = static_cast<std::uint32_t>(shape.bones);

    mesh = TMDM();
    std::memcpy(mesh.header.ident, kMDMIdent, 4);
    SetNameField("test.mdm", mesh.header.name);
    mesh.header.version = 3;
    mesh.header.lodScale = 1.0f;
    for (int s = 0; s < shape.surfaces; ++s) {
        TMDMSurface surface;
        const std::int32_t ident = 9;
        std::memcpy(surface.ident, &ident, 4);
        SetNameField("surface" + std::to_string(s), surface.name);
        SetNameField("models/test/skin" + std::to_string(s), surface.shader);
        surface.minLod = shape.vertsPerSurface / 2;
        for (int v = 0; v < shape.vertsPerSurface; ++v) {
            TMDMVertex vertex;
            vertex.normal = VectorNormalize({1.0f, 0.5f * v, -0.25f * s});
            vertex.texCoords[0] = 0.1f * v;
            vertex.texCoords[1] = 0.05f * s + 0.02f * v;
            const int bone = (v + s) % shape.bones;
            TMDMWeight w{bone, v % 2 == 0 ? 1.0f : 0.75f, {1.0f + v, 2.0f - s, 0.5f * v}};
            vertex.weights.push_back(w);
            if (v % 2 == 1) {
                vertex.weights.push_back({(bone + 1) % shape.bones, 0.25f, {-1.0f, 0.5f, 2.0f}});
            }
            vertex.numWeights = static_cast<std::int32_t>(vertex.weights.size());
            surface.vertices.push_back(vertex);
            surface.collapseMap.push_back(static_cast<TMDMCollapseMap>(v / 2));
        }
        for (int v = 0; v + 2 < shape.vertsPerSurface; ++v)
            surface.triangles.push_back({{v, v + 1, v + 2}});
        for (int b = 0; b < shape.bones; ++b)
            surface.boneReferences.push_back(static_cast<TMDMSurfaceBoneRefs>(b));
        surface.numVerts = static_cast<std::uint32_t>(surface.vertices.size());
        surface.numTriangles = static_cast<std::uint32_t>(surface.triangles.size());
        surface.numBoneReferences = static_cast<std::uint32_t>(surface.boneReferences.size());
        mesh.surfaces.push_back(surface);
    }
    for (int t = 0; t < shape.tags; ++t) {
        TMDMTag tag;
        SetNameField("tag_" + std::to_string(t), tag.name);
        tag.axis[0] = {1, 0, 0};
        tag.axis[1] = {0, 1, 0};
        tag.axis[2] = {0, 0, 1};
        tag.boneIndex = shape.bones - 1;
        tag.offset = {2.0f * t, 1.0f, -1.0f};
        tag.boneReferences.assign({0, static_cast<TMDMSurfaceBoneRefs>(shape.bones - 1)});
        tag.numBoneReferences = 2;
        tag.ofsBoneReferences = 128;
        tag.ofsEnd = 136;
        mesh.tags.push_back(tag);
    }
    mesh.header.numSurfaces = static_cast<std::uint32_t>(shape.surfaces);
    mesh.header.numTags = static_cast<std::uint32_t>(shape.tags);
    mesh.ResetLodTable();
}

PromptAnswer ScriptedPrompts::Ask(const std::string& caption, const std::string& text,
                                  PromptButtons) {
    captions.push_back(caption);
    questions.push_back(text);
    if (answers.empty()) return PromptAnswer::Yes;
    const PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompts::AskText(const std::string& caption,
                                                    const std::string& prompt, const std::string&) {
    captions.push_back(caption);
    questions.push_back(prompt);
    if (texts.empty()) return std::nullopt;
    std::optional<std::string> text = texts.front();
    texts.pop_front();
    return text;
}

std::optional<std::string> ScriptedPrompts::ChooseFile(const FileChoice& choice) {
    fileChoices.push_back(choice);
    if (files.empty()) return std::nullopt;
    std::optional<std::string> file = files.front();
    files.pop_front();
    return file;
}

}  // namespace skeletal_test
