// `veldra-cli render MODEL... --out-dir DIR`: a picture of every model, archive masks
// expanded, all drawn in one offscreen context so that a whole archive's thumbnails take one
// start of the toolkit and OpenGL.
#pragma once

#include <ostream>
#include <string>

#include "cli/render_arguments.h"

// The picture of `input` below the output folder: a file's name with ".png"
// (x/helmet.md3 -> helmet.png); an archive entry's path inside the archive with ".png"
// (a.pk3:models/b/c.md3 -> models/b/c.png). Empty for an entry path that would leave the
// folder.
std::string BatchPictureName(const std::string& input);

// One line per failed model on `err`, or with --json one result per model on `out`. Exit code
// 0 when every picture was written, 1 otherwise.
int RunRenderBatch(const TRenderArguments& arguments, std::ostream& out, std::ostream& err);
