#include "support/skeletal_square.h"

#include <cstring>
#include <string>

#include "md3/md3.h"

namespace testing_support {

void MakeSquarePair(TMDM& mesh, TMDX& anim, const SquarePairShape& shape) {
    anim = TMDX();
    std::memcpy(anim.header.ident, kMDXIdent, 4);
    SetNameField("square.mdx", anim.header.name);
    for (int b = 0; b < shape.bones; ++b) {
        TMDXBoneInfo bone;
        SetNameField("bone" + std::to_string(b), bone.name);
        bone.parent = b - 1;
        bone.parentDist = b == 0 ? 0.0f : 10.0f;
        anim.bones.push_back(bone);
    }
    for (int f = 0; f < shape.frames; ++f) {
        TMDXFrame frame;
        frame.minBounds = {-shape.halfSide, -shape.halfSide, 0.0f};
        frame.maxBounds = {shape.halfSide, shape.halfSide, 0.0f};
        frame.radius = shape.halfSide * 1.5f;
        frame.boneFrames.resize(static_cast<std::size_t>(shape.bones));
        anim.frames.push_back(frame);
    }
    anim.header.numFrames = static_cast<std::uint32_t>(shape.frames);
    anim.header.numBones = static_cast<std::uint32_t>(shape.bones);

    mesh = TMDM();
    std::memcpy(mesh.header.ident, kMDMIdent, 4);
    SetNameField("square.mdm", mesh.header.name);
    const float h = shape.halfSide;
    const float corners[4][2] = {{-h, -h}, {-h, h}, {h, h}, {h, -h}};
    for (int s = 0; s < shape.surfaces; ++s) {
        TMDMSurface surface;
        SetNameField(s == 0 ? std::string("square") : "square" + std::to_string(s), surface.name);
        surface.shaderIndex = -1;
        for (const auto& c : corners) {
            TMDMVertex vertex;
            vertex.normal = {0.0f, 0.0f, 1.0f};
            vertex.texCoords[0] = (c[0] + h) / (2 * h);
            vertex.texCoords[1] = (c[1] + h) / (2 * h);
            vertex.weights.push_back({0, 1.0f, {c[0], c[1], 0.0f}});
            vertex.numWeights = 1;
            surface.vertices.push_back(vertex);
            surface.collapseMap.push_back(0);
        }
        surface.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
        surface.boneReferences = {0};
        surface.numVerts = 4;
        surface.numTriangles = 2;
        surface.numBoneReferences = 1;
        mesh.surfaces.push_back(surface);
    }
    for (int t = 0; t < shape.tags; ++t) {
        TMDMTag tag;
        SetNameField("tag_" + std::to_string(t), tag.name);
        tag.axis[0] = {1, 0, 0};
        tag.axis[1] = {0, 1, 0};
        tag.axis[2] = {0, 0, 1};
        tag.offset = {0.0f, 5.0f, 3.0f};
        mesh.tags.push_back(tag);
    }
    mesh.header.numSurfaces = static_cast<std::uint32_t>(shape.surfaces);
    mesh.header.numTags = static_cast<std::uint32_t>(shape.tags);
    mesh.ResetLodTable();
}

}  // namespace testing_support
