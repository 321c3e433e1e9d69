#include "md3_test_util.h"

#include <gtest/gtest.h>

namespace md3_test {

namespace {

// resize + memcpy rather than insert: GCC 12 warns falsely about inserts into byte vectors.
void AppendRaw(Bytes& out, const void* data, std::size_t bytes) {
    const std::size_t old = out.size();
    out.resize(old + bytes);
    if (bytes > 0) std::memcpy(out.data() + old, data, bytes);
}

template <typename T>
void Append(Bytes& out, const T* data, std::size_t count) {
    AppendRaw(out, data, count * sizeof(T));
}

void Append(Bytes& out, const Bytes& block) {
    AppendRaw(out, block.data(), block.size());
}

Bytes LayOutSurface(const TSurface& s, int numFrames, const LayoutOptions& o) {
    TMD3SurfaceRecord rec = s;
    rec.numShaders = o.writeShaders ? s.numShaders : 0;
    Bytes shaders, triangles, texCoords, vertices;
    if (o.writeShaders) Append(shaders, s.shaders.data(), s.shaders.size());
    Append(triangles, s.triangles.data(), s.triangles.size());
    std::vector<TMD3TexCoord> fileTc = s.texCoords;
    for (auto& tc : fileTc)
        tc.t = 1.0f - tc.t;
    Append(texCoords, fileTc.data(), fileTc.size());
    Append(vertices, s.vertices.data(), static_cast<std::size_t>(s.numVerts) * numFrames);

    std::vector<std::pair<std::int32_t*, Bytes*>> order;
    if (o.trianglesBeforeShaders) {
        order = {{&rec.ofsTriangles, &triangles}, {&rec.ofsShaders, &shaders}};
    } else {
        order = {{&rec.ofsShaders, &shaders}, {&rec.ofsTriangles, &triangles}};
    }
    if (o.vertsBeforeTexCoords) {
        order.insert(order.end(), {{&rec.ofsXyzNormals, &vertices}, {&rec.ofsST, &texCoords}});
    } else {
        order.insert(order.end(), {{&rec.ofsST, &texCoords}, {&rec.ofsXyzNormals, &vertices}});
    }
    Bytes body;
    std::int32_t at = sizeof(TMD3SurfaceRecord);
    for (auto& [field, block] : order) {
        *field = at;
        Append(body, *block);
        at += static_cast<std::int32_t>(block->size());
    }
    rec.ofsEnd = at + o.gapBetweenSurfaces;
    Bytes out;
    Append(out, &rec, 1);
    Append(out, body);
    out.resize(out.size() + static_cast<std::size_t>(o.gapBetweenSurfaces), 0xEE);
    return out;
}

template <typename T>
bool SameRecords(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

}  // namespace

Bytes LayOut(const TMD3& model, const LayoutOptions& o) {
    const THeader& h = model.header;
    TMD3HeaderRecord rec = h;
    Bytes frames, tags, surfaces;
    Append(frames, h.frames.data(), h.frames.size());
    Append(tags, h.tags.data(), h.tags.size());
    for (const TSurface& s : h.surfaces) {
        const Bytes one = LayOutSurface(s, h.numFrames, o);
        Append(surfaces, one);
    }
    Bytes out(sizeof rec);
    std::int32_t at = sizeof rec;
    auto place = [&](std::int32_t& field, const Bytes& block) {
        field = at;
        Append(out, block);
        at += static_cast<std::int32_t>(block.size());
    };
    if (o.surfacesBeforeFrames) {
        place(rec.ofsSurfaces, surfaces);
        place(rec.ofsFrames, frames);
        place(rec.ofsTags, tags);
    } else {
        place(rec.ofsFrames, frames);
        place(rec.ofsTags, tags);
        place(rec.ofsSurfaces, surfaces);
    }
    rec.ofsEnd = at;
    std::memcpy(out.data(), &rec, sizeof rec);
    return out;
}

void ExpectSameModel(const TMD3& a, const TMD3& b, float tEpsilon) {
    const THeader& x = a.header;
    const THeader& y = b.header;
    ASSERT_EQ(std::memcmp(x.ident, y.ident, 4), 0);
    EXPECT_EQ(x.version, y.version);
    EXPECT_EQ(std::memcmp(x.name, y.name, sizeof x.name), 0);
    EXPECT_EQ(x.flags, y.flags);
    EXPECT_EQ(x.numSkins, y.numSkins);
    ASSERT_EQ(x.numFrames, y.numFrames);
    ASSERT_EQ(x.numTags, y.numTags);
    ASSERT_EQ(x.numSurfaces, y.numSurfaces);
    EXPECT_TRUE(SameRecords(x.frames, y.frames));
    EXPECT_TRUE(SameRecords(x.tags, y.tags));
    for (int i = 0; i < x.numSurfaces; ++i) {
        const TSurface& s = x.surfaces[i];
        const TSurface& t = y.surfaces[i];
        SCOPED_TRACE("surface " + std::to_string(i));
        EXPECT_EQ(std::memcmp(s.ident, t.ident, 4), 0);
        EXPECT_EQ(std::memcmp(s.name, t.name, sizeof s.name), 0);
        EXPECT_EQ(s.flags, t.flags);
        EXPECT_EQ(s.numFrames, t.numFrames);
        ASSERT_EQ(s.numShaders, t.numShaders);
        ASSERT_EQ(s.numVerts, t.numVerts);
        ASSERT_EQ(s.numTriangles, t.numTriangles);
        EXPECT_TRUE(SameRecords(s.shaders, t.shaders));
        EXPECT_TRUE(SameRecords(s.triangles, t.triangles));
        EXPECT_TRUE(SameRecords(s.vertices, t.vertices));
        ASSERT_EQ(s.texCoords.size(), t.texCoords.size());
        for (std::size_t v = 0; v < s.texCoords.size(); ++v) {
            EXPECT_EQ(s.texCoords[v].s, t.texCoords[v].s) << "vertex " << v;
            EXPECT_NEAR(s.texCoords[v].t, t.texCoords[v].t, tEpsilon) << "vertex " << v;
        }
    }
}

}  // namespace md3_test
