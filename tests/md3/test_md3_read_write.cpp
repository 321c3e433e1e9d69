#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <iterator>

#include "md3/md3.h"
#include "md3_test_util.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using namespace md3_test;
using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

TMD3 Generated(int surfaces = 3, int frames = 4, int tags = 2) {
    TMD3 model;
    MakeModel(model, {.surfaces = surfaces,
                      .vertsPerSurface = 40,
                      .frames = frames,
                      .tags = tags,
                      .shadersPerSurface = 2});
    return model;
}

TEST(MD3ReadWrite, RoundTripKeepsTheModelAndTheBytes) {
    ScratchDir dir;
    TMD3 model = Generated();
    model.header.surfaces[1].shaders[0].shaderIndex = -1;  // "no shader" survives saving
    ASSERT_TRUE(model.SaveToFile(dir.File("a.md3"))) << model.LastError();
    TMD3 loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("a.md3"))) << loaded.LastError();
    ExpectSameModel(model, loaded, 1e-6f);
    EXPECT_EQ(loaded.header.surfaces[1].shaders[0].shaderIndex, -1);
    // A second save of what was read gives the same bytes.
    ASSERT_TRUE(loaded.SaveToFile(dir.File("b.md3")));
    EXPECT_EQ(ReadBytes(dir.File("a.md3")), ReadBytes(dir.File("b.md3")));
}

TEST(MD3ReadWrite, SavingLeavesTexCoordsInMemoryUntouched) {
    ScratchDir dir;
    TMD3 model = Generated(1, 1, 0);
    model.header.surfaces[0].texCoords[0].t = 0.1f;  // 1 - (1 - 0.1) != 0.1 in floats
    const auto before = model.header.surfaces[0].texCoords;
    ASSERT_TRUE(model.SaveToFile(dir.File("a.md3")));
    EXPECT_EQ(std::memcmp(before.data(), model.header.surfaces[0].texCoords.data(),
                          before.size() * sizeof(TMD3TexCoord)),
              0);
}

TEST(MD3ReadWrite, WriterUsesTheCanonicalLayout) {
    ScratchDir dir;
    TMD3 model = Generated(2, 3, 2);
    ASSERT_TRUE(model.SaveToFile(dir.File("a.md3")));
    const Bytes b = ReadBytes(dir.File("a.md3"));
    EXPECT_EQ(GetI32(b, kOfsFrames), 108);
    EXPECT_EQ(GetI32(b, kOfsTags), 108 + 3 * 56);
    EXPECT_EQ(GetI32(b, kOfsSurfaces), 108 + 3 * 56 + 3 * 2 * 112);
    EXPECT_EQ(GetI32(b, kOfsEnd), static_cast<std::int32_t>(b.size()));
    std::size_t at = GetI32(b, kOfsSurfaces);
    for (int i = 0; i < 2; ++i) {
        const TSurface& s = model.header.surfaces[i];
        EXPECT_EQ(GetI32(b, at + kSurfOfsShaders), 108);
        EXPECT_EQ(GetI32(b, at + kSurfOfsTriangles), 108 + 2 * 68);
        EXPECT_EQ(GetI32(b, at + kSurfOfsST), 108 + 2 * 68 + s.numTriangles * 12);
        EXPECT_EQ(GetI32(b, at + kSurfOfsXyz), 108 + 2 * 68 + s.numTriangles * 12 + 40 * 8);
        EXPECT_EQ(GetI32(b, at + kSurfOfsEnd), model.SurfaceSize(i));
        at += GetI32(b, at + kSurfOfsEnd);
    }
    EXPECT_EQ(at, b.size());
    // The in-memory offsets were recomputed too.
    EXPECT_EQ(model.header.ofsEnd, static_cast<std::int32_t>(b.size()));
}

TEST(MD3ReadWrite, ModelsWithoutTagsOrSurfaces) {
    ScratchDir dir;
    TMD3 noTags = Generated(1, 2, 0);
    ASSERT_TRUE(noTags.SaveToFile(dir.File("notags.md3")));
    const Bytes a = ReadBytes(dir.File("notags.md3"));
    EXPECT_EQ(GetI32(a, kOfsTags), GetI32(a, kOfsSurfaces));

    TMD3 noSurfaces = Generated(0, 5, 3);
    ASSERT_TRUE(noSurfaces.SaveToFile(dir.File("nosurf.md3")));
    const Bytes b = ReadBytes(dir.File("nosurf.md3"));
    EXPECT_EQ(b.size(), 108u + 5 * 56 + 5 * 3 * 112);
    EXPECT_EQ(GetI32(b, kOfsEnd), GetI32(b, kOfsSurfaces));

    TMD3 empty;
    MakeModel(empty, {.surfaces = 0, .frames = 0, .tags = 0});
    ASSERT_TRUE(empty.SaveToFile(dir.File("empty.md3")));
    TMD3 loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("empty.md3")));
    EXPECT_TRUE(loaded.IsEmpty());
}

// Files of other tools keep their order and the bytes between blocks while the model keeps
// its layout; once an edit changes a block's size the fixed order is written.
TEST(MD3ReadWrite, ForeignLayoutsStayUntilAnEditChangesTheLayout) {
    ScratchDir dir;
    const TMD3 model = Generated(3, 2, 1);
    const LayoutOptions layouts[] = {
        {.trianglesBeforeShaders = true},
        {.vertsBeforeTexCoords = true, .gapBetweenSurfaces = 13},
        {.surfacesBeforeFrames = true, .trianglesBeforeShaders = true, .gapBetweenSurfaces = 4},
    };
    for (const LayoutOptions& layout : layouts) {
        Bytes foreign = LayOut(model, layout);
        foreign.insert(foreign.end(), {'j', 'u', 'n', 'k'});  // past ofsEnd
        WriteBytes(dir.File("foreign.md3"), foreign);
        TMD3 loaded;
        ASSERT_TRUE(loaded.LoadFromFile(dir.File("foreign.md3"))) << loaded.LastError();
        ExpectSameModel(model, loaded, 1e-6f);
        ASSERT_TRUE(loaded.SaveToFile(dir.File("same.md3")));
        EXPECT_EQ(ReadBytes(dir.File("same.md3")), foreign);

        // New content in the old places.
        loaded.MirrorX();
        ASSERT_TRUE(loaded.SaveToFile(dir.File("mirrored.md3")));
        const Bytes mirrored = ReadBytes(dir.File("mirrored.md3"));
        EXPECT_EQ(mirrored.size(), foreign.size());
        EXPECT_EQ(GetI32(mirrored, kOfsSurfaces), GetI32(foreign, kOfsSurfaces));
        TMD3 reloaded;
        ASSERT_TRUE(reloaded.LoadFromFile(dir.File("mirrored.md3")));
        ExpectSameModel(loaded, reloaded);

        // One tag more in every frame: written as a model built in memory would be.
        loaded.AddTag(loaded.header.tags[0]);
        TMD3 built = loaded;
        built.layoutAsRead = {};
        ASSERT_TRUE(loaded.SaveToFile(dir.File("grown.md3")));
        ASSERT_TRUE(built.SaveToFile(dir.File("built.md3")));
        EXPECT_EQ(GetI32(ReadBytes(dir.File("grown.md3")), kOfsFrames), 108);
        EXPECT_EQ(ReadBytes(dir.File("grown.md3")), ReadBytes(dir.File("built.md3")));
    }
}

// Blocks that share bytes cannot each go back where they were.
TEST(MD3ReadWrite, OverlappingBlocksAreWrittenInTheFixedOrder) {
    ScratchDir dir;
    const TMD3 model = Generated(1, 2, 1);
    Bytes b = LayOut(model, {});
    PutI32(b, kOfsTags, GetI32(b, kOfsFrames));
    WriteBytes(dir.File("shared.md3"), b);
    TMD3 loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("shared.md3"))) << loaded.LastError();
    ASSERT_TRUE(loaded.SaveToFile(dir.File("saved.md3")));
    const Bytes saved = ReadBytes(dir.File("saved.md3"));
    EXPECT_EQ(GetI32(saved, kOfsTags), 108 + 2 * 56);
    EXPECT_EQ(static_cast<std::int64_t>(saved.size()),
              108 + loaded.FramesSize() + loaded.TagsSize() + loaded.SurfacesSize());
}

// The window keeps the shader store's rows in shaderIndex; saving writes the file's numbers
// for every shader whose name is unchanged, and the row for a renamed one.
TEST(MD3ReadWrite, ShaderIndexesOfTheSessionAreNotSaved) {
    ScratchDir dir;
    TMD3 model = Generated(2, 1, 0);
    model.header.surfaces[0].shaders[0].shaderIndex = 7;
    model.header.surfaces[1].shaders[1].shaderIndex = -3;
    ASSERT_TRUE(model.SaveToFile(dir.File("a.md3")));
    const Bytes original = ReadBytes(dir.File("a.md3"));
    TMD3 loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("a.md3")));
    for (TSurface& s : loaded.header.surfaces)
        s.shaders[0].shaderIndex = 40 + s.numVerts;
    ASSERT_TRUE(loaded.SaveToFile(dir.File("b.md3")));
    EXPECT_EQ(ReadBytes(dir.File("b.md3")), original);

    loaded.SetShaderName(1, "textures/new");
    ASSERT_TRUE(loaded.SaveToFile(dir.File("c.md3")));
    TMD3 renamed;
    ASSERT_TRUE(renamed.LoadFromFile(dir.File("c.md3")));
    EXPECT_EQ(renamed.header.surfaces[0].shaders[0].shaderIndex, 7);
    EXPECT_EQ(renamed.header.surfaces[1].shaders[0].shaderIndex, 80);
    EXPECT_EQ(renamed.header.surfaces[1].shaders[1].shaderIndex, -3);
}

TEST(MD3ReadWrite, SurfacesWithoutShadersGetOneEmptyRecord) {
    ScratchDir dir;
    TMD3 model = Generated(2, 1, 0);
    WriteBytes(dir.File("noshaders.md3"), LayOut(model, {.writeShaders = false}));
    TMD3 loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("noshaders.md3"))) << loaded.LastError();
    for (const TSurface& s : loaded.header.surfaces) {
        ASSERT_EQ(s.numShaders, 1);
        ASSERT_EQ(s.shaders.size(), 1u);
        EXPECT_EQ(NameFieldText(s.shaders[0].name), "");
        EXPECT_EQ(s.shaders[0].shaderIndex, 0);
    }
    ASSERT_TRUE(loaded.SaveToFile(dir.File("saved.md3")));
    const Bytes b = ReadBytes(dir.File("saved.md3"));
    const std::size_t surface = GetI32(b, kOfsSurfaces);
    EXPECT_EQ(GetI32(b, surface + kSurfNumShaders), 1);
    for (std::size_t i = 0; i < 68; ++i)
        EXPECT_EQ(b[surface + 108 + i], 0) << i;
}

TEST(MD3ReadWrite, TexCoordTIsFlippedInMemoryAndItsStoredBitsComeBack) {
    ScratchDir dir;
    TMD3 model = Generated(1, 1, 0);
    Bytes b = LayOut(model, {});
    const std::size_t surface = GetI32(b, kOfsSurfaces);
    const std::size_t st = surface + GetI32(b, surface + kSurfOfsST);
    // Values whose double flip loses bits, values outside [0, 1], a signed zero and a
    // signalling NaN: all must come back as stored.
    const std::uint32_t stored[] = {0x3E800000 /* 0.25 */,
                                    0x3DCCCCCD /* 0.1 */,
                                    0x3089705F /* 1e-9 */,
                                    0xC0600000 /* -3.5 */,
                                    0x4116B852 /* 9.42 */,
                                    0x80000000 /* -0 */,
                                    0x7F800001 /* sNaN */};
    std::size_t lossy = 0;
    for (std::size_t v = 0; v < std::size(stored); ++v) {
        std::memcpy(b.data() + st + 8 * v + 4, &stored[v], 4);
        const float t = std::bit_cast<float>(stored[v]);
        lossy += std::bit_cast<std::uint32_t>(1.0f - (1.0f - t)) != stored[v];
    }
    ASSERT_GE(lossy, 3u) << "the table no longer shows what a double flip loses";
    WriteBytes(dir.File("t.md3"), b);
    TMD3 loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("t.md3")));
    EXPECT_EQ(loaded.header.surfaces[0].texCoords[0].t, 0.75f);
    ASSERT_TRUE(loaded.SaveToFile(dir.File("same.md3")));
    EXPECT_EQ(ReadBytes(dir.File("same.md3")), b);

    // An edited t is written as its flip; kept bits that no longer line up with the
    // coordinates are not used.
    TSurface& s = loaded.header.surfaces[0];
    s.texCoords[1].t = 0.5f;
    s.texCoordTAsRead.insert(s.texCoordTAsRead.begin(), 0.0f);
    ASSERT_TRUE(loaded.SaveToFile(dir.File("edited.md3")));
    const Bytes edited = ReadBytes(dir.File("edited.md3"));
    float t1 = 0.0f, t3 = 0.0f;
    std::memcpy(&t1, edited.data() + st + 8 * 1 + 4, 4);
    std::memcpy(&t3, edited.data() + st + 8 * 3 + 4, 4);
    EXPECT_EQ(t1, 0.5f);
    EXPECT_EQ(t3, 1.0f - s.texCoords[3].t);
}

TEST(MD3ReadWrite, EmptyArraysMayPointAnywhere) {
    ScratchDir dir;
    // No surfaces, no tags; no triangles in a surface (one ring of vertices).
    TMD3 bare;
    MakeModel(bare, {.surfaces = 0, .frames = 1, .tags = 0});
    TMD3 flat;
    MakeModel(flat, {.surfaces = 1, .vertsPerSurface = 16, .frames = 1, .tags = 0});
    struct Case {
        const TMD3& model;
        std::size_t surfaceField;  // 0: a header field
        std::size_t field;
    };
    const Case cases[] = {
        {bare, 0, kOfsSurfaces}, {bare, 0, kOfsTags}, {flat, 1, kSurfOfsTriangles}};
    for (const Case& c : cases) {
        for (std::int32_t value : {1 << 30, -12345}) {
            Bytes b = LayOut(c.model, {});
            const std::size_t base = c.surfaceField ? GetI32(b, kOfsSurfaces) : 0;
            PutI32(b, base + c.field, value);
            WriteBytes(dir.File("x.md3"), b);
            TMD3 loaded;
            EXPECT_TRUE(loaded.LoadFromFile(dir.File("x.md3")))
                << c.field << " = " << value << ": " << loaded.LastError();
        }
    }
}

TEST(MD3ReadWrite, SurfaceFrameCountIsKeptButNeverSizesTheVertices) {
    ScratchDir dir;
    TMD3 model = Generated(2, 3, 1);
    for (int stored : {0, 1, 99}) {
        Bytes b = LayOut(model, {});
        const std::size_t surface = GetI32(b, kOfsSurfaces);
        PutI32(b, surface + kSurfNumFrames, stored);
        WriteBytes(dir.File("f.md3"), b);
        TMD3 loaded;
        ASSERT_TRUE(loaded.LoadFromFile(dir.File("f.md3"))) << loaded.LastError();
        EXPECT_EQ(loaded.header.surfaces[0].numFrames, stored);
        EXPECT_EQ(loaded.header.surfaces[0].vertices.size(), 40u * 3);
        ASSERT_TRUE(loaded.SaveToFile(dir.File("g.md3")));
        EXPECT_EQ(ReadBytes(dir.File("g.md3")), b);
    }
}

}  // namespace
