// Texture coordinates of map faces: the compiler's classic projection (base axes chosen by
// the face normal, then rotation, scale and shift in texture pixels) and the brush-primitive
// projection through a face's 2x3 matrix.
#pragma once

#include "import/map_records.h"

// Sets the face's S and T axes, dominant axis and sign; negates the rotation of faces whose
// dominant axis is Z (the turned coordinates of the importer need it).
void TextureAxesForFace(TMapFace& face);

// (s, t) of a corner of a classic face; (0, 0) without a texture entry or name.
void FaceTexCoord(const TMapFace& face, TVector3 position, const TMapTexture* texture, float& s,
                  float& t);

// (s, t) of a corner of a brush-primitive face. The matrix works in the map's own
// coordinates and in whole textures, so the texture size does not enter.
void BrushPrimitiveTexCoord(const TMapFace& face, TVector3 position, float& s, float& t);
