// What the main window tells the scene drawing: the view switches, the colours and which
// kind of model is loaded.
#pragma once

#include <cstdint>

// ModelKind: 1 to 4 are drawn as MD3 (an MD3 file or a map, ASE or MS3D model converted to
// one), 5 to 7 are skeletal.
inline constexpr int kModelKindNone = 0;
inline constexpr int kModelKindMD3 = 1;
inline constexpr int kModelKindMap = 2;
inline constexpr int kModelKindASE = 3;
inline constexpr int kModelKindMS3D = 4;
inline constexpr int kModelKindMDMMDX = 5;
inline constexpr int kModelKindMDS = 6;

inline bool IsMD3Family(int kind) {
    return kind >= kModelKindMD3 && kind <= kModelKindMS3D;
}
inline bool IsSkeletalFamily(int kind) {
    return kind >= kModelKindMDMMDX && kind <= 7;
}

struct TViewSwitches {
    bool lighting = true;
    bool showTags = true;
    bool showSkeleton = false;
    bool showNormals = false;
    bool wireframe = false;
    bool twoSided = false;
    bool flatShading = false;
    bool showGroundplane = false;
    bool showAxis = false;
    bool centerModel = false;
    bool mouseControlType2 = false;
    bool alphaPreview = true;
    bool lodEnabled = false;
    bool showAttachments = true;  // a character's head and accessories
};

// Packed 0x00BBGGRR.
struct TSceneColors {
    std::uint32_t skyTop = 0x00CB8B64;     // red 100, green 139, blue 203
    std::uint32_t skyBottom = 0x00F0CAA6;  // red 166, green 202, blue 240
    std::uint32_t screenshotBackground = 0x00000000;
};
