// Skeletal pairs built in code, scripted answers to the loaders' questions, and byte helpers
// for patching the files the writers produce.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "io/user_prompts.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"
#include "support/byte_patch.h"

namespace skeletal_test {

using testing_support::Bytes;
using testing_support::GetI32;
using testing_support::PutI32;

// Offsets of fields in the files.
inline constexpr std::size_t kMdmNumSurfaces = 80, kMdmOfsSurfaces = 84, kMdmNumTags = 88,
                             kMdmOfsTags = 92;
inline constexpr std::size_t kSurfNumVerts = 144, kSurfOfsVerts = 148, kSurfNumTriangles = 152,
                             kSurfOfsTriangles = 156, kSurfOfsCollapse = 160,
                             kSurfNumBoneRefs = 164, kSurfOfsBoneRefs = 168, kSurfOfsEnd = 172;
inline constexpr std::size_t kMdxNumFrames = 72, kMdxNumBones = 76, kMdxOfsFrames = 80,
                             kMdxOfsBones = 84;

struct PairShape {
    int surfaces = 2;
    int vertsPerSurface = 6;
    int tags = 2;
    int frames = 4;
    int bones = 3;  // a chain: each bone's parent is the one before it
};

// An animation whose bones form a chain (10 units apart) and turn a little more in every
// frame, and a mesh whose vertices hang on one or two of those bones, with triangles, a
// collapse map, bone references and tags on the last bone.
void MakePair(TMDM& mesh, TMDX& anim, const PairShape& shape = {});

// Replaces a vertex's weights and keeps its weight count with them.
inline void SetWeights(TMDMVertex& vertex, std::vector<TMDMWeight> weights) {
    vertex.weights = std::move(weights);
    vertex.numWeights = static_cast<std::int32_t>(vertex.weights.size());
}

// Answers questions from a list (Yes once the list is used up), and records them.
class ScriptedPrompts : public UserPrompts {
  public:
    std::deque<PromptAnswer> answers;
    std::deque<std::optional<std::string>> texts;  // empty: cancel
    std::deque<std::optional<std::string>> files;  // empty: cancel
    std::vector<std::string> questions;
    std::vector<std::string> captions;
    std::vector<FileChoice> fileChoices;

    PromptAnswer Ask(const std::string& caption, const std::string& text, PromptButtons) override;
    std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                       const std::string& preset) override;
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
};

}  // namespace skeletal_test
