// veldra-make-mds MESH.mdm ANIM.mdx OUT.mds [TAG_BONES]: assembles an MDS file from a player
// mesh and its animation, with the mesh's first TAG_BONES tags (default 3) as tag bones. The
// fuzz seeds in fuzz/corpus/mds/ come from it.
#include <cstdio>
#include <exception>
#include <string>

#include "io/user_prompts.h"
#include "mds_writer.h"

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: %s MESH.mdm ANIM.mdx OUT.mds [TAG_BONES]\n", argv[0]);
        return 2;
    }
    try {
        AnswerYesPrompts yes;
        TMDM mesh;
        TMDX anim;
        if (!mesh.LoadFromFile(argv[1], yes)) {
            std::fprintf(stderr, "%s: %s\n", argv[1], mesh.LastError().c_str());
            return 1;
        }
        if (!anim.LoadFromFile(argv[2])) {
            std::fprintf(stderr, "%s: %s\n", argv[2], anim.LastError().c_str());
            return 1;
        }
        const int tagBones = argc == 5 ? std::stoi(argv[4]) : 3;
        if (!WriteMDS(AssembleMDS(mesh, anim, tagBones), argv[3])) {
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
