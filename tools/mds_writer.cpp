#include "mds_writer.h"

#include <algorithm>
#include <cstring>
#include <fstream>

TMDS AssembleMDS(const TMDM& mesh, const TMDX& anim, int tagBones) {
    TMDS mds;
    TMDSHeader& h = mds.header;
    std::memcpy(h.ident, kMDSIdent, 4);
    h.version = 4;
    std::memcpy(h.name, mesh.header.name, sizeof h.name);
    h.lodScale = mesh.header.lodScale;
    h.lodBias = mesh.header.lodBias;
    h.torsoParent = anim.header.torsoParent;
    const auto tags =
        static_cast<std::size_t>(std::clamp(tagBones, 0, static_cast<int>(mesh.tags.size())));
    mds.bones = anim.bones;
    for (std::size_t t = 0; t < tags; ++t) {
        const TMDMTag& tag = mesh.tags[t];
        TMDXBoneInfo bone;
        std::memcpy(bone.name, tag.name, sizeof bone.name);
        bone.parent = tag.boneIndex;
        bone.parentDist = VectorLength(tag.offset);
        bone.flags = 1;
        mds.bones.push_back(bone);
        TMDSTag record;
        std::memcpy(record.name, tag.name, sizeof record.name);
        record.boneIndex = static_cast<std::int32_t>(mds.bones.size() - 1);
        mds.tags.push_back(record);
    }
    for (const TMDXFrame& from : anim.frames) {
        TMDXFrame frame = from;
        for (std::size_t t = 0; t < tags; ++t) {
            const auto parent = static_cast<std::size_t>(mesh.tags[t].boneIndex);
            TMDXBoneFrame bf;
            if (parent < from.boneFrames.size()) bf = from.boneFrames[parent];
            bf.ofsAngles[0] = bf.ofsAngles[1] = 0;
            frame.boneFrames.push_back(bf);
        }
        mds.frames.push_back(frame);
    }
    for (const TMDMSurface& from : mesh.surfaces) {
        TMDSSurface surface;
        static_cast<TMDMSurfaceHeader&>(surface) = from;
        for (const TMDMVertex& v : from.vertices) {
            TMDSVertex vertex;
            vertex.normal = v.normal;
            vertex.texCoords[0] = v.texCoords[0];
            vertex.texCoords[1] = v.texCoords[1];
            vertex.numWeights = v.numWeights;
            vertex.weights = v.weights;
            surface.vertices.push_back(vertex);
        }
        surface.triangles = from.triangles;
        surface.collapseMap = from.collapseMap;
        surface.boneReferences = from.boneReferences;
        mds.surfaces.push_back(surface);
    }
    h.numFrames = static_cast<std::uint32_t>(mds.frames.size());
    h.numBones = static_cast<std::uint32_t>(mds.bones.size());
    h.numSurfaces = static_cast<std::uint32_t>(mds.surfaces.size());
    h.numTags = static_cast<std::uint32_t>(mds.tags.size());
    return mds;
}

namespace {

template <typename T>
void Put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
void PutAll(std::string& out, const std::vector<T>& values) {
    if (!values.empty())
        out.append(reinterpret_cast<const char*>(values.data()), sizeof(T) * values.size());
}

}  // namespace

bool WriteMDS(const TMDS& model, const std::string& path) {
    TMDSHeader h = model.header;
    std::string body;
    h.ofsFrames = sizeof h;
    for (const TMDXFrame& frame : model.frames) {
        Put(body, static_cast<const TMDXFrameRecord&>(frame));
        PutAll(body, frame.boneFrames);
    }
    h.ofsBones = static_cast<std::int32_t>(sizeof h + body.size());
    PutAll(body, model.bones);
    h.ofsSurfaces = static_cast<std::int32_t>(sizeof h + body.size());
    for (const TMDSSurface& s : model.surfaces) {
        TMDMSurfaceHeader record = s;
        std::string blocks;
        record.ofsHeader = -static_cast<std::int32_t>(sizeof h + body.size());
        record.ofsVerts = sizeof record;
        for (const TMDSVertex& v : s.vertices) {
            Put(blocks, static_cast<const TMDSVertexRecord&>(v));
            PutAll(blocks, v.weights);
        }
        record.ofsTriangles = static_cast<std::int32_t>(sizeof record + blocks.size());
        PutAll(blocks, s.triangles);
        record.ofsCollapseMap = static_cast<std::int32_t>(sizeof record + blocks.size());
        PutAll(blocks, s.collapseMap);
        record.ofsBoneReferences = static_cast<std::int32_t>(sizeof record + blocks.size());
        PutAll(blocks, s.boneReferences);
        record.ofsEnd = static_cast<std::int32_t>(sizeof record + blocks.size());
        Put(body, record);
        body += blocks;
    }
    h.ofsTags = static_cast<std::int32_t>(sizeof h + body.size());
    PutAll(body, model.tags);
    h.ofsEnd = static_cast<std::int32_t>(sizeof h + body.size());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&h), sizeof h);
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    return static_cast<bool>(out.flush());
}
