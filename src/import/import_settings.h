// What the user sets for an import of a MilkShape or 3ds Max model: a scale applied before the
// positions are rounded to the 1/64-unit grid, which way is up, and the folder the shader
// names are placed in.
#pragma once

#include <string>

#include "math/vector.h"

struct TImportSettings {
    float scale = 1.0f;
    // The model was made with Y up (MilkShape's default): it is stood up on the game's Z.
    bool yUp = false;
    // Goes before shader names that are not game paths already ("models/mapobjects/crate/").
    std::string shaderPrefix;

    // A position or direction as the game is to have it.
    TVector3 Place(TVector3 p) const {
        if (yUp) p = {p.x, -p.z, p.y};
        return p * scale;
    }
    TVector3 Turn(TVector3 n) const { return yUp ? TVector3{n.x, -n.z, n.y} : n; }
};
