// A model as a load read it, before the window shows it. Every whole-model load reads into a
// fresh one and the window takes it only when the read succeeded, so that a failed load
// leaves the loaded model, its unsaved edits and its history as they were. Qt-free.
#pragma once

#include "md3/md3.h"
#include "render/scene_settings.h"
#include "skeletal/mdm.h"
#include "skeletal/mdx.h"

struct TReadModel {
    TMD3 md3;
    TMDM mdm;
    TMDX mdx;
    int kind = kModelKindNone;
    int source = 0;  // one of the window's kModelSource values
};
