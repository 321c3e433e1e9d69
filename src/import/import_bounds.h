// What the importers share: the bounds question for models larger than MD3 positions can hold,
// and the one frame every converted model gets.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "import/import_report.h"
#include "math/vector.h"

class TMD3;
struct TMD3Vertex;
struct TSurface;
class UserPrompts;

// Running minimum and maximum of converted positions; starts empty.
struct TImportBounds {
    TVector3 min{3.3e38f, 3.3e38f, 3.3e38f};
    TVector3 max{-INFINITY, -INFINITY, -INFINITY};
    bool empty = true;

    void Add(TVector3 p);
    // Whether a coordinate reaches 512 or -512, which stored positions cannot hold.
    bool OutOfRange() const;
    // 511 over the largest absolute extreme.
    float FitFactor() const;
};

// Asks whether an out-of-range model is to be scaled down. True with `factor` set (1 when the
// model fits, nothing asked); false when the user said No or Cancel.
bool AskScaleToFit(const TImportBounds& bounds, UserPrompts& prompts, float& factor);

// Header and frame 0 of a converted model: ident, version, name, counts from the arrays,
// bounds (zero for a model without vertices), origin, radius and the frame name.
void FinishConvertedModel(TMD3& model, const std::string& modelName, const TImportBounds& bounds,
                          const char* frameName);

// A surface of one frame with one shader record.
TSurface NewConvertedSurface(const std::string& name, const std::string& shaderName);
// Appends one vertex (position, normal, and the texture coordinate as the MD3 file is to
// store it) and widens the bounds with the position.
void AddConvertedCorner(TSurface& surface, TVector3 position, std::uint16_t normal, float s,
                        float fileT, TImportBounds& bounds);
// Sets the surface's counts from its arrays.
void CloseConvertedSurface(TSurface& surface);

bool IsFinite(TVector3 p);

// Triangles that draw nothing in the game: corners that are no finite numbers, or corners that
// fall onto one line on the 1/64-unit grid of stored positions. They are left out and counted.
struct TTriangleSkips {
    std::int64_t notFinite = 0;
    std::int64_t collapsed = 0;

    // False, counting the triangle, when it is one of the above.
    bool Keep(const TVector3 (&corners)[3]);
    // The same for corners already on the grid (their positions are finite by then).
    bool KeepStored(const TMD3Vertex& a, const TMD3Vertex& b, const TMD3Vertex& c);
    void Report(TImportReport& report) const;
};

inline constexpr const char* kScaleQuestionCaption = "Confirmation";
inline constexpr const char* kScaleQuestionText =
    "The model coordinates are out of the MD3-bounds.\r\nScale the model down?";
