// The glTF library's implementation, compiled into the program so that veldra-cli, which is
// linked without shared libraries, reads and writes glTF too.
#define TINYGLTF_IMPLEMENTATION
#include "import/gltf_library.h"
