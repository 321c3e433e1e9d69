// The file dialogs' entries for the models the game loads wherever it loads an MD3.
#pragma once

inline constexpr const char* kMD3Filter = "Quake 3 model  (.MD3) (*.MD3 *.md3)";
inline constexpr const char* kMDCFilter = "Compressed Quake 3 model  (.MDC) (*.MDC *.mdc)";
