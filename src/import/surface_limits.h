// The per-surface limits of MD3 and the split that keeps a material group within them: a
// surface past them becomes several surfaces with the same shader.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct TSurface;
class UserPrompts;

enum class TSurfaceLimit { None, Vertices, Triangles };

// The limit a surface of one frame passes: more than `maxVerts` vertices, or more triangles
// than MD3 allows.
TSurfaceLimit PassedLimit(const TSurface& surface, int maxVerts);

// A surface of one frame cut into pieces in triangle order, each within `maxVerts` vertices and the
// triangle limit, each with the vertices its triangles use. Pieces keep the shader; the
// second and later ones take the name with "_2", "_3", ... appended.
std::vector<TSurface> SplitSurface(const TSurface& surface, int maxVerts);

// Asks whether the surfaces past a limit are to be split; `limitText` says which limit. No
// without anyone to ask.
bool AskToSplit(const std::string& limitText, UserPrompts* prompts);

// The importer's texts for a surface past a limit, and what follows the surface count when
// there are more surfaces than MD3 holds.
struct TLimitTexts {
    std::function<std::string(const TSurface&, TSurfaceLimit)> surfacePast;
    std::string tooManySurfaces;
};

// Fits the surfaces of a conversion into the limits: when one is past a limit, the user is
// asked once whether to split; Yes splits every such surface, No refuses with its text. More
// surfaces than MD3 holds, after any split, are refused. False with the text in `message`.
bool FitSurfaceLimits(std::vector<TSurface>& surfaces, int maxVerts, const TLimitTexts& texts,
                      UserPrompts* prompts, std::string& message);

inline constexpr const char* kSplitQuestionCaption = "Surface limits";
inline constexpr const char* kSplitQuestionText =
    "\r\n\r\nSplit it into several surfaces with the same shader?";
