// The head and accessories of a loaded character as the view draws them: each MD3 with a
// shader store of its own (its surfaces resolve through its own skin), placed every frame on
// the posed body's tags, the hats on the head's.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assets/character_attachments.h"
#include "math/orientation.h"
#include "md3/md3.h"
#include "shader/q3_shaders.h"

struct TAttachedModel {
    TCharacterAttachment where;
    TMD3 model;
    std::unique_ptr<TShaders> shaders = std::make_unique<TShaders>();
};

using TAttachedModels = std::vector<TAttachedModel>;

// Reads each attachment's model. One that cannot be read, or has no frame to draw, is left
// out with a sentence naming the file and the reason in `problems`.
TAttachedModels LoadAttachedModels(const std::vector<TCharacterAttachment>& attachments,
                                   std::vector<std::string>& problems);

// Finds a tag of the posed body by name, in the game's coordinates.
using TBodyTagFinder = std::function<std::optional<TOrientation>(const std::string& name)>;

// Where each model goes (one entry per model, in order): on its body tag, or on the head's
// tag composed with the head's place. Nothing for a model whose tag, or whose head, is
// missing.
std::vector<std::optional<TOrientation>> PlaceAttachedModels(const TAttachedModels& models,
                                                             const TBodyTagFinder& bodyTag);

// Tag `name` (ignoring case) of frame `frame`; nothing when the model has no such tag or frame.
std::optional<TOrientation> MD3TagOrientation(const TMD3& model, int frame,
                                              const std::string& name);

// Frame 0 of every placed model, in the body's space: for fitting the view around them all.
std::vector<TVector3> AttachedVertexPositions(const TAttachedModels& models,
                                              const std::vector<std::optional<TOrientation>>& at);
