// The character definition (.char) the game assembles a player from: a block
//   characterDef { mesh "models/.../body.mdm"  skin "soldier"  animationGroup "...anim" ... }
// of keys with one quoted or bare value each. Paths are game paths (relative to etmain).
#pragma once

#include <string>

struct TCharacterDef {
    std::string mesh;
    std::string animationGroup;
    std::string animationScript;
    std::string skin;  // a name: see CharacterSkinPath
    std::string undressedCorpseModel;
    std::string undressedCorpseSkin;
    std::string hudHead;
    std::string hudHeadAnims;
    std::string hudHeadSkin;
};

struct TCharacterParse {
    bool ok = false;
    TCharacterDef def;
    std::string error;  // with the line number, when !ok
};

// Keys are matched ignoring letter case, "//" and "/* */" are comments. An unknown key, a
// key without its value, a missing block or a definition without a mesh is an error.
TCharacterParse ParseCharacterDef(const std::string& text);

// Reads and parses a .char file; a file that cannot be read is an error naming it.
TCharacterParse LoadCharacterDef(const std::string& fileName);

// The game's rule for the skin of a model worn by a character: the model's path without its
// extension, "_", the skin name, ".skin" ("a/body.mdm", "soldier" -> "a/body_soldier.skin").
std::string ModelSkinPath(const std::string& modelPath, const std::string& skinName);

// The game path of the body's skin, by that rule from the mesh; empty without a skin name.
std::string CharacterSkinPath(const TCharacterDef& def);
