// Feeds arbitrary bytes to the MDX readers, whole and in part, poses a small mesh with
// whatever they accept, and writes it back, all in memory.
#include <cstdint>

#include "io/byte_sink.h"
#include "io/byte_source.h"
#include "skeletal/skeletal_export.h"
#include "skeletal/skeletal_pair.h"
#include "skeletal/skeletal_pose.h"

namespace {

// One surface whose three vertices hang on bones 0, 1 and 2, and a tag on bone 1.
TMDM SmallMesh() {
    TMDM mesh;
    TMDMSurface surface;
    for (int v = 0; v < 3; ++v) {
        TMDMVertex vertex;
        vertex.normal = {0, 0, 1};
        vertex.weights.push_back({v, 1.0f, {1.0f * v, 2.0f, 3.0f}});
        vertex.numWeights = 1;
        surface.vertices.push_back(vertex);
        surface.collapseMap.push_back(0);
    }
    surface.triangles.push_back({{0, 1, 2}});
    surface.numVerts = 3;
    surface.numTriangles = 1;
    mesh.surfaces.push_back(surface);
    TMDMTag tag;
    tag.boneIndex = 1;
    tag.axis[0] = {1, 0, 0};
    mesh.tags.push_back(tag);
    mesh.header.numSurfaces = 1;
    mesh.header.numTags = 1;
    return mesh;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MemoryBytes input({data, size});
    TMDX anim;
    if (!anim.LoadFrom(input)) return 0;
    if (!anim.CountMismatch().empty() || !BoneOrderProblem(anim.bones).empty()) __builtin_trap();
    TMDM mesh = SmallMesh();
    const std::uint32_t frames = anim.frames.size() < 4 ? anim.header.numFrames : 4;
    for (std::uint32_t frame = 0; frame <= frames; ++frame)
        SkeletalPose(mesh, anim, frame, 0);
    if (frames > 0) {
        TMD3 md3;
        const bool fits = SkeletalPairProblem(mesh, anim).empty();
        if (BakeFramesToMD3(mesh, anim, 0, frames - 1, md3).baked != fits) __builtin_trap();
    }
    MemorySink out;
    if (!anim.WriteTo(out)) __builtin_trap();
    TMDX again;
    if (!again.LoadFrom(MemoryBytes(out.bytes()))) __builtin_trap();
    // The same file's bones and frames agree with the animation it was read into.
    if (!again.LoadBonesFrom(input) || !again.LoadFramesFrom(input)) __builtin_trap();
    if (!again.CountMismatch().empty()) __builtin_trap();
    return 0;
}
