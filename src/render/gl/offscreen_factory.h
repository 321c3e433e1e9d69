// Chooses how to draw offscreen: EGL where it gives a context, which needs no display at
// all; otherwise the toolkit's offscreen surface, which needs a QGuiApplication and a display.
#pragma once

#include <memory>

#include "render/gl/offscreen_gl.h"

// Never null. When neither way yields a context the binding returned reports why through
// CreateContext (and so through TOGL's error handler). May start a QGuiApplication.
std::unique_ptr<IOffscreenBinding> MakeOffscreenBinding(int width, int height);
