// Surfaces and tags named in `edit` values. An item is given by its index or its name, and
// "ITEM:NAME" values (--set-shader, --rename-surface, --rename-tag) split where both sides
// may hold colons (shader paths often do not, surface and tag names sometimes do), so the
// split is found against the model: every colon that ends a reference to one item is a
// possible split, and exactly one must be.
#pragma once

#include <string>

#include "md3/md3.h"

// Longer names would leave no terminating zero in the 64-byte field, which the game needs.
inline constexpr std::size_t kMaxEditedNameLength = kMD3NameLength - 1;

struct SurfaceAndName {
    int surface = 0;
    std::string name;
};

struct TagAndName {
    int tag = 0;
    std::string name;
};

// What can be checked without the model: a colon after a non-empty ITEM. Throws
// OperationError naming `form` ("SURFACE:NAME") as what was expected.
void CheckItemAndNameSyntax(const std::string& value, const std::string& form);

// The one surface and the name the value gives for `model`. Throws OperationError when no
// surface or more than one reading fits, or the name is too long, or empty unless
// `emptyNameAllowed` (a shader left to the skin).
SurfaceAndName ResolveSurfaceAndName(const TMD3& model, const std::string& value,
                                     bool emptyNameAllowed = false);
// The same for a tag; the new name must not be empty.
TagAndName ResolveTagAndName(const TMD3& model, const std::string& value);
// The one tag `reference` (an index or a name) gives. Throws OperationError when there is
// none or the name is shared.
int ResolveTag(const TMD3& model, const std::string& reference);
