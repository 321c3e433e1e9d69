// veldra-make-mds MESH.mdm ANIM.mdx OUT.mds [TAG_BONES]: assembles an MDS file from a player
// mesh and its animation, with the mesh's first TAG_BONES tags (default 3) as tag bones.
// veldra-make-mds --seeds DIR writes the fuzz seeds (fuzz/corpus/mds/) from a small pair built
// here, so that no game file ends up in the repository.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "io/user_prompts.h"
#include "mds_writer.h"

namespace {

// A chain of four bones over three frames and a fan of five vertices on them, with two tags.
void MakeSmallPair(TMDM& mesh, TMDX& anim) {
    std::memcpy(anim.header.ident, kMDXIdent, 4);
    for (int b = 0; b < 4; ++b) {
        TMDXBoneInfo bone;
        std::snprintf(bone.name, sizeof bone.name, "bone%d", b);
        bone.parent = b - 1;
        bone.parentDist = b == 0 ? 0.0f : 8.0f;
        anim.bones.push_back(bone);
    }
    for (int f = 0; f < 3; ++f) {
        TMDXFrame frame;
        frame.radius = 20.0f;
        for (int b = 0; b < 4; ++b) {
            TMDXBoneFrame bf;
            bf.angles[1] = static_cast<std::int16_t>(2000 * f + 500 * b);
            bf.ofsAngles[0] = static_cast<std::int16_t>(-1000 * f);
            frame.boneFrames.push_back(bf);
        }
        anim.frames.push_back(frame);
    }
    anim.header.numBones = 4;
    anim.header.numFrames = 3;

    std::memcpy(mesh.header.ident, kMDMIdent, 4);
    std::snprintf(mesh.header.name, sizeof mesh.header.name, "fan.mdm");
    mesh.header.lodScale = 1.0f;
    TMDMSurface surface;
    const std::int32_t ident = 9;
    std::memcpy(surface.ident, &ident, 4);
    std::snprintf(surface.name, sizeof surface.name, "fan");
    for (int v = 0; v < 5; ++v) {
        TMDMVertex vertex;
        vertex.normal = {0.0f, 0.0f, 1.0f};
        vertex.weights.push_back({v % 4, 0.75f, {static_cast<float>(v), 1.0f, 0.0f}});
        vertex.weights.push_back({(v + 1) % 4, 0.25f, {0.0f, static_cast<float>(v), 2.0f}});
        vertex.numWeights = 2;
        surface.vertices.push_back(vertex);
        surface.collapseMap.push_back(v == 0 ? 0u : static_cast<std::uint32_t>(v - 1));
    }
    surface.triangles = {{{0, 1, 2}}, {{0, 2, 3}}, {{0, 3, 4}}};
    surface.boneReferences = {0, 1, 2, 3};
    surface.numVerts = 5;
    surface.numTriangles = 3;
    surface.numBoneReferences = 4;
    surface.minLod = 3;
    mesh.surfaces.push_back(surface);
    for (int t = 0; t < 2; ++t) {
        TMDMTag tag;
        std::snprintf(tag.name, sizeof tag.name, "tag_%d", t);
        tag.boneIndex = 2 + t;
        tag.offset = {3.0f, 0.0f, 1.0f};
        mesh.tags.push_back(tag);
    }
    mesh.header.numSurfaces = 1;
    mesh.header.numTags = 2;
}

int WriteSeeds(const std::string& dir) {
    TMDM mesh;
    TMDX anim;
    MakeSmallPair(mesh, anim);
    const bool written = WriteMDS(AssembleMDS(mesh, anim, 2), dir + "/fan_two_tag_bones.mds") &&
                         WriteMDS(AssembleMDS(mesh, anim, 0), dir + "/fan_no_tag_bones.mds");
    if (!written) std::fprintf(stderr, "cannot write the seeds into %s\n", dir.c_str());
    return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--seeds") return WriteSeeds(argv[2]);
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: %s MESH.mdm ANIM.mdx OUT.mds [TAG_BONES] | --seeds DIR\n",
                     argv[0]);
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
