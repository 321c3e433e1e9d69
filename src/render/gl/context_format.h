// The one kind of GL context the program draws with: compatibility profile (the drawing is
// fixed-function), RGBA 8 bits each, 24-bit depth and an 8-bit stencil for screenshots.
#pragma once

#include <QSurfaceFormat>

QSurfaceFormat ContextFormat();
