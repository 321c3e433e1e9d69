// What the MD3 and MDC readers both do with a surface once its shader, triangle and texture
// coordinate arrays are read from the file.
#pragma once

#include <cstdint>
#include <string>

#include "md3/md3.h"

// A surface without shader records gets one for the shader lookup to fill in; the records and
// the t coordinates are kept as read, and t is held flipped. Gives the reason when a triangle
// names a vertex outside [0, numVerts) (`what` names the surface), else an empty text.
std::string CompleteSurfaceAsRead(TSurface& surface, std::int32_t numVerts,
                                  const std::string& what);
