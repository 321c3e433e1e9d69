// What the game hangs on a character's body besides its skin: the head (the .char's hudhead
// model on the body's "tag_head") and the accessories its body skin names in "md3_<slot>"
// lines (helmet, backpack, belt pouches, ...), each on a tag of the body or of the head.
// They are only shown: the mesh the window edits and saves is the body alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assets/model_file_names.h"
#include "skeletal/character_def.h"

inline constexpr const char* kHeadSlot = "head";

struct TCharacterAttachment {
    std::string slot;      // kHeadSlot or the skin's "md3_..." name
    std::string gamePath;  // the model's game path, as named
    std::string model;     // the local file
    std::string skin;      // local file of its own skin; empty: the model's shaders
    std::string tag;       // the tag it is placed on
    bool onHead = false;   // the tag is the head's ("tag_mouth"), not the body's
};

struct TAttachmentSlot {
    std::string tag;
    bool onHead = false;
};

// Where the game places the model of a body skin's slot ("md3_back" -> body "tag_back",
// "md3_hat" -> the head's "tag_mouth"). Nothing for a slot it does not draw on every player
// (the rank badge needs a rank) or does not know.
std::optional<TAttachmentSlot> AttachmentSlotOf(std::string_view slot);

struct TAttachmentSearch {
    std::vector<TCharacterAttachment> attachments;  // the head first, then in skin order
    std::vector<std::string> missing;               // one sentence each, as for the body
};

// The head and the accessories of a character whose body skin is the local file `bodySkin`
// (empty: no accessories). The models are looked up as the game looks them up
// (FindModelFile: "X.mdc" when there is no "X.md3"). An accessory's own skin follows ModelSkinPath
// with the character's skin name and may be absent; a model that cannot be found, or a body skin
// that cannot be read, is reported in `missing`.
TAttachmentSearch FindCharacterAttachments(const TCharacterDef& def, const std::string& bodySkin,
                                           const TGameFileFinder& find);
