// "SURFACE:NAME", the value of --set-shader and --rename-surface. SURFACE is a surface's
// index or its name, and both may hold colons (shader paths often do not, surface names
// sometimes do), so the split is found against the model: every colon that ends a reference
// to one surface is a possible split, and exactly one must be.
#pragma once

#include <string>

#include "md3/md3.h"

// Longer names would leave no terminating zero in the 64-byte field, which the game needs.
inline constexpr std::size_t kMaxEditedNameLength = kMD3NameLength - 1;

struct SurfaceAndName {
    int surface = 0;
    std::string name;
};

// What can be checked without the model: a colon after a non-empty SURFACE. Throws
// OperationError.
void CheckSurfaceAndNameSyntax(const std::string& value);

// The one surface and the name the value gives for `model`. Throws OperationError when no
// surface or more than one reading fits, or the name is empty or too long.
SurfaceAndName ResolveSurfaceAndName(const TMD3& model, const std::string& value);
