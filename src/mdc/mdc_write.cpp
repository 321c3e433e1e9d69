// Writing an MDC file. An unchanged model gives back the file it was read from; otherwise the
// model is compressed as the game's own converter does it: frame 0 is a base frame, and each
// later frame is compressed against the last base frame when every vertex of every surface
// lands close enough, or becomes a base frame itself. One choice for all surfaces, so that
// their seams move together.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "io/byte_sink.h"
#include "math/normal.h"
#include "mdc/mdc.h"
#include "mdc/mdc_normals.h"
#include "mdc/mdc_tags.h"

namespace {

constexpr std::int64_t kMaxOffset = std::numeric_limits<std::int32_t>::max();

// A stored coordinate in model units, as the game computes it.
float Unpacked(std::int16_t stored) {
    return static_cast<float>(stored * (1.0 / 64));
}

// The game's compression of one vertex's position against its base frame's (the normal is
// added apart); false when the offset does not fit or lands more than the allowed error away.
bool CompressPosition(const TMD3Vertex& vertex, const TMD3Vertex& base, TMDCCompressedVertex& out) {
    const float target[3] = {Unpacked(vertex.x), Unpacked(vertex.y), Unpacked(vertex.z)};
    const float from[3] = {Unpacked(base.x), Unpacked(base.y), Unpacked(base.z)};
    TMDCCompressedVertex packed = 0;
    float error[3];
    for (int axis = 0; axis < 3; ++axis) {
        const float offset = target[axis] - from[axis];
        if (std::fabs(offset) >= kMDCMaxDist) return false;
        // Rounds half up to the nearest step; the sum stays within 0 ... 254.
        const auto step = static_cast<std::uint32_t>(static_cast<float>(
            std::fabs((offset + kMDCDistScale * 0.5) * (1.0 / kMDCDistScale) + kMDCMaxOffset)));
        packed |= step << (8 * axis);
        const auto decoded =
            static_cast<float>((static_cast<float>(step) - kMDCMaxOffset) * kMDCDistScale);
        error[axis] = target[axis] - (from[axis] + decoded);
    }
    const float distance =
        std::sqrt(error[0] * error[0] + error[1] * error[1] + error[2] * error[2]);
    if (distance > kMDCMaxError) return false;
    out = packed;
    return true;
}

// Compresses one frame of a surface against a base frame into `out`; false as soon as a
// vertex cannot be.
bool CompressSurfaceFrame(const TSurface& s, std::int64_t frame, std::int64_t baseFrame,
                          std::vector<TMDCCompressedVertex>& out) {
    const std::int64_t n = s.numVerts;
    out.resize(static_cast<std::size_t>(n));
    const TMD3Vertex* vertices = s.vertices.data() + frame * n;
    const TMD3Vertex* base = s.vertices.data() + baseFrame * n;
    for (std::int64_t v = 0; v < n; ++v) {
        if (!CompressPosition(vertices[v], base[v], out[static_cast<std::size_t>(v)])) return false;
    }
    return true;
}

// The frame blocks of one surface as the file gets them.
struct SurfaceFrames {
    std::int32_t numBaseFrames = 0;
    std::int32_t numCompFrames = 0;
    std::vector<char> baseVertices;
    std::vector<char> compVertices;
    std::vector<std::int16_t> frameBaseFrames;
    std::vector<std::int16_t> frameCompFrames;
};

template <typename T>
void AppendBytes(std::vector<char>& out, const T* data, std::int64_t count) {
    const auto* p = reinterpret_cast<const char*>(data);
    out.insert(out.end(), p, p + count * std::int64_t{sizeof(T)});
}

void CompressFrames(const THeader& h, std::vector<SurfaceFrames>& result) {
    // Models repeat few normal words; each is looked up in the table once per thread.
    thread_local std::vector<std::int16_t> normalIndex(65536, -1);
    auto tableIndex = [](std::uint16_t word) {
        std::int16_t& index = normalIndex[word];
        if (index < 0) index = MDCNormalIndex(DecodeNormal(word));
        return static_cast<std::uint32_t>(index);
    };
    const std::size_t numSurfaces = h.surfaces.size();
    result.assign(numSurfaces, SurfaceFrames{});
    std::vector<std::vector<TMDCCompressedVertex>> compressed(numSurfaces);
    std::int32_t lastBase = 0;
    for (std::int32_t f = 0; f < h.numFrames; ++f) {
        bool base = f == 0;
        for (std::size_t i = 0; !base && i < numSurfaces; ++i)
            base = !CompressSurfaceFrame(h.surfaces[i], f, lastBase, compressed[i]);
        if (base) lastBase = f;
        for (std::size_t i = 0; i < numSurfaces; ++i) {
            const TSurface& s = h.surfaces[i];
            SurfaceFrames& out = result[i];
            const TMD3Vertex* vertices = s.vertices.data() + std::int64_t{f} * s.numVerts;
            if (base) {
                out.frameBaseFrames.push_back(static_cast<std::int16_t>(out.numBaseFrames++));
                out.frameCompFrames.push_back(-1);
                AppendBytes(out.baseVertices, vertices, s.numVerts);
                continue;
            }
            out.frameBaseFrames.push_back(static_cast<std::int16_t>(out.numBaseFrames - 1));
            out.frameCompFrames.push_back(static_cast<std::int16_t>(out.numCompFrames++));
            std::vector<TMDCCompressedVertex>& packed = compressed[i];
            for (std::int32_t v = 0; v < s.numVerts; ++v)
                packed[static_cast<std::size_t>(v)] |= tableIndex(vertices[v].normal) << 24;
            AppendBytes(out.compVertices, packed.data(), s.numVerts);
        }
    }
}

// The frame blocks as they were read, for a model whose vertices did not change.
void FramesAsRead(const TMDCSource& source, const THeader& h, std::vector<SurfaceFrames>& result) {
    result.resize(h.surfaces.size());
    const std::int64_t numFrames = h.numFrames;
    for (std::size_t i = 0; i < h.surfaces.size(); ++i) {
        const TMDCSource::SurfaceBlocks& blocks = source.surfaces[i];
        SurfaceFrames& out = result[i];
        const std::int64_t n = h.surfaces[i].numVerts;
        const char* bytes = source.bytes.data();
        out.numBaseFrames = blocks.numBaseFrames;
        out.numCompFrames = blocks.numCompFrames;
        AppendBytes(out.baseVertices, bytes + blocks.baseVertices,
                    n * blocks.numBaseFrames * std::int64_t{sizeof(TMD3Vertex)});
        AppendBytes(out.compVertices, bytes + blocks.compVertices,
                    n * blocks.numCompFrames * std::int64_t{sizeof(TMDCCompressedVertex)});
        out.frameBaseFrames.resize(static_cast<std::size_t>(numFrames));
        out.frameCompFrames.assign(static_cast<std::size_t>(numFrames), -1);
        if (numFrames == 0) continue;
        std::memcpy(out.frameBaseFrames.data(), bytes + blocks.frameBaseFrames, numFrames * 2);
        if (blocks.numCompFrames > 0) {
            std::memcpy(out.frameCompFrames.data(), bytes + blocks.frameCompFrames, numFrames * 2);
        }
    }
}

template <typename T>
void Put(std::vector<char>& out, std::int64_t at, const T& value) {
    std::memcpy(out.data() + at, &value, sizeof value);
}

// Lays the model out in the game's converter's order: header, frames, tag names, tags, then
// per surface its header, triangles, shaders, texture coordinates, base frames, compressed
// frames and the two frame lists.
bool EncodeMDC(const THeader& h, const TMDCSource* source, const THeader& decoded,
               std::vector<char>& out, std::string& error) {
    if (h.numFrames > kMDCMaxFrames) {
        error = "an MDC file holds at most " + std::to_string(kMDCMaxFrames) + " frames";
        return false;
    }
    std::vector<SurfaceFrames> frames;
    const bool keepFrames = source != nullptr && SameMDCGeometry(decoded, h);
    if (keepFrames) {
        FramesAsRead(*source, h, frames);
    } else {
        CompressFrames(h, frames);
    }
    std::int64_t size = sizeof(TMDCHeaderRecord) + h.numFrames * std::int64_t{sizeof(TMD3Frame)} +
                        h.numTags * std::int64_t{sizeof(TMDCTagNameRecord)} +
                        std::int64_t{h.numFrames} * h.numTags * std::int64_t{sizeof(TMDCTagRecord)};
    for (std::size_t i = 0; i < h.surfaces.size(); ++i) {
        const TSurface& s = h.surfaces[i];
        size += sizeof(TMDCSurfaceRecord) + s.numTriangles * std::int64_t{sizeof(TMD3Triangle)} +
                s.numShaders * std::int64_t{sizeof(TMD3Shader)} +
                s.numVerts * std::int64_t{sizeof(TMD3TexCoord)} +
                static_cast<std::int64_t>(frames[i].baseVertices.size() +
                                          frames[i].compVertices.size()) +
                4 * std::int64_t{h.numFrames};
    }
    if (size > kMaxOffset) {
        error = "the model is too large for an MDC file";
        return false;
    }
    out.clear();
    out.reserve(static_cast<std::size_t>(size));

    TMDCHeaderRecord record;
    std::memcpy(record.ident, kMDCIdent, 4);
    record.version = kMDCVersion;
    std::memcpy(record.name, h.name, sizeof record.name);
    record.flags = h.flags;
    record.numFrames = h.numFrames;
    record.numTags = h.numTags;
    record.numSurfaces = h.numSurfaces;
    record.numSkins = h.numSkins;
    AppendBytes(out, &record, 1);
    record.ofsFrames = static_cast<std::int32_t>(out.size());
    AppendBytes(out, h.frames.data(), h.numFrames);
    record.ofsTagNames = static_cast<std::int32_t>(out.size());
    for (std::int32_t t = 0; t < h.numTags; ++t) {
        TMDCTagNameRecord name;
        if (h.numFrames > 0) std::memcpy(name.name, h.tags[t].name, sizeof name.name);
        AppendBytes(out, &name, 1);
    }
    record.ofsTags = static_cast<std::int32_t>(out.size());
    const std::int64_t tagCount = std::int64_t{h.numFrames} * h.numTags;
    if (source != nullptr && source->tags > 0 && SameMDCTagPlaces(decoded, h)) {
        // The angles read give back the axes exactly; angles found anew might not.
        AppendBytes(out, source->bytes.data() + source->tags,
                    tagCount * std::int64_t{sizeof(TMDCTagRecord)});
    } else {
        int clamped = 0;
        for (const TMD3Tag& tag : h.tags) {
            const TMDCTagRecord stored = EncodeMDCTag(tag, clamped);
            AppendBytes(out, &stored, 1);
        }
    }
    record.ofsSurfaces = static_cast<std::int32_t>(out.size());

    std::vector<TMD3Shader> shaders;
    std::vector<TMD3TexCoord> texCoords;
    for (std::size_t i = 0; i < h.surfaces.size(); ++i) {
        const TSurface& s = h.surfaces[i];
        const SurfaceFrames& f = frames[i];
        const std::int64_t start = static_cast<std::int64_t>(out.size());
        TMDCSurfaceRecord surface;
        surface.ident = kMDCSurfaceIdent;
        std::memcpy(surface.name, s.name, sizeof surface.name);
        surface.flags = s.flags;
        surface.numCompFrames = f.numCompFrames;
        surface.numBaseFrames = f.numBaseFrames;
        surface.numShaders = s.numShaders;
        surface.numVerts = s.numVerts;
        surface.numTriangles = s.numTriangles;
        AppendBytes(out, &surface, 1);
        auto mark = [&out, start](std::int32_t& field) {
            field = static_cast<std::int32_t>(static_cast<std::int64_t>(out.size()) - start);
        };
        mark(surface.ofsTriangles);
        AppendBytes(out, s.triangles.data(), s.numTriangles);
        mark(surface.ofsShaders);
        FileShaders(s, shaders);
        AppendBytes(out, shaders.data(), s.numShaders);
        mark(surface.ofsST);
        FileTexCoords(s, texCoords);
        AppendBytes(out, texCoords.data(), s.numVerts);
        mark(surface.ofsXyzNormals);
        AppendBytes(out, f.baseVertices.data(), static_cast<std::int64_t>(f.baseVertices.size()));
        mark(surface.ofsXyzCompressed);
        AppendBytes(out, f.compVertices.data(), static_cast<std::int64_t>(f.compVertices.size()));
        mark(surface.ofsFrameBaseFrames);
        AppendBytes(out, f.frameBaseFrames.data(), h.numFrames);
        mark(surface.ofsFrameCompFrames);
        AppendBytes(out, f.frameCompFrames.data(), h.numFrames);
        mark(surface.ofsEnd);
        Put(out, start, surface);
    }
    record.ofsEnd = static_cast<std::int32_t>(out.size());
    Put(out, 0, record);
    return true;
}

}  // namespace

bool MDCFileBytes(const TMD3& model, std::vector<char>& bytes, std::string& error) {
    const TMDCSource* source = model.mdcAsRead.get();
    THeader decoded;
    if (source != nullptr) {
        TMDCSource blocks;
        // The bytes decoded once already; should they not now, nothing of them is kept.
        if (!DecodeMDC(source->bytes, decoded, blocks, error)) {
            source = nullptr;
            error.clear();
        }
    }
    if (source != nullptr && SameMDCModel(decoded, model.header)) {
        bytes = source->bytes;
        return true;
    }
    return EncodeMDC(model.header, source, decoded, bytes, error);
}

bool TMD3::WriteMDCTo(ByteSink& out) {
    lastError_.clear();
    if (!CanBeWritten()) return false;
    std::vector<char> bytes;
    if (!MDCFileBytes(*this, bytes, lastError_)) return false;
    out.Write(bytes.data(), bytes.size());
    if (!out.Finish()) {
        lastError_ = "writing failed: " + out.error();
        return false;
    }
    return true;
}
