// EmbedSkin: makes the skin's choices permanent by writing the names it resolved to into
// the model's surfaces. The caller asks "Copy the shaders/textures from the currently loaded
// skin-file?.." first and refreshes its panels afterwards.
#pragma once

#include "assets/skin.h"
#include "md3/md3.h"
#include "skeletal/mdm.h"

// For every MD3 surface with a shader record: the resolved name of its skin record becomes
// the first shader's name; a surface whose record resolved to nothing keeps a shader name it
// has. Returns how many surfaces were written; nothing happens with an empty skin.
int EmbedSkin(TMD3& model, const TSkin& skin);
// The same for the surfaces of an MDM mesh, each of which has a shader name.
int EmbedSkin(TMDM& model, const TSkin& skin);
