#pragma once
// The glTF library, configured once for the whole program: images are neither decoded nor
// encoded by it (the program's own decoders handle the pictures, and exports embed the game's
// files as they are), and it never reaches for files beside a model on its own.
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#define TINYGLTF_USE_CPP14
#include <tiny_gltf.h>
