// Writes the sample cube model to the path given on the command line.
#include <cstdio>
#include <exception>

#include "model_factory.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.md3\n", argv[0]);
        return 2;
    }
    try {
        TMD3 model;
        MakeCube(model);
        if (!model.SaveToFile(argv[1])) {
            std::fprintf(stderr, "%s: %s\n", argv[1], model.LastError().c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
