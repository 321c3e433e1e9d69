// The model kinds the main window records for the loaded model, and the two families that
// decide which tabs, panels and commands apply.
#pragma once

inline constexpr int kModelKindNone = 0;
inline constexpr int kModelKindMD3 = 1;
inline constexpr int kModelKindMap = 2;
inline constexpr int kModelKindASE = 3;
inline constexpr int kModelKindMS3D = 4;
inline constexpr int kModelKindMDMMDX = 5;
inline constexpr int kModelKindMDS = 6;

inline bool IsMD3Family(int modelKind) {
    return modelKind >= 1 && modelKind <= 4;
}
// 7 is never assigned, but the range is what every test of the family uses.
inline bool IsSkeletalFamily(int modelKind) {
    return modelKind >= 5 && modelKind <= 7;
}
