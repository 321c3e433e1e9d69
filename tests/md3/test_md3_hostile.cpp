// Truncated, corrupt and hostile files must fail cleanly: no crash, no huge allocation, no
// hang, and a reason for the user.
#include <gtest/gtest.h>

#include <climits>

#include "io/file_error.h"
#include "md3/md3.h"
#include "md3_test_util.h"
#include "model_factory.h"
#include "support/test_files.h"

namespace {

using namespace md3_test;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

Bytes ValidFile() {
    TMD3 model;
    // Two rings of vertices, so that every surface array holds records.
    MakeModel(model, {.surfaces = 2, .vertsPerSurface = 32, .frames = 2, .tags = 1});
    return LayOut(model, {.trianglesBeforeShaders = true});
}

// Loads `bytes` and returns the reason for failure ("" on success). Reading without the
// vertices (for `info`) must accept and refuse exactly the same files.
std::string LoadFailure(const ScratchDir& dir, const Bytes& bytes) {
    WriteBytes(dir.File("hostile.md3"), bytes);
    TMD3 model, layout;
    const bool loaded = model.LoadFromFile(dir.File("hostile.md3"));
    EXPECT_EQ(layout.LoadLayoutFromFile(dir.File("hostile.md3")), loaded);
    EXPECT_EQ(layout.LastError(), model.LastError());
    if (loaded) {
        for (TSurface& s : model.header.surfaces)
            s.vertices.clear();
        ExpectSameModel(layout, model);
        return "";
    }
    EXPECT_FALSE(model.LastError().empty());
    return model.LastError();
}

TEST(MD3Hostile, EveryTruncationFails) {
    ScratchDir dir;
    const Bytes full = ValidFile();
    ASSERT_EQ(LoadFailure(dir, full), "");
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_NE(LoadFailure(dir, prefix), "") << "prefix of " << n << " bytes loaded";
    }
}

TEST(MD3Hostile, WrongIdentifierOrShortHeader) {
    ScratchDir dir;
    Bytes b = ValidFile();
    b[0] = 0;
    EXPECT_NE(LoadFailure(dir, b).find("IDP3"), std::string::npos);
    EXPECT_NE(LoadFailure(dir, Bytes(50, 0)).find("shorter"), std::string::npos);
}

TEST(MD3Hostile, HeaderCountsAtTheExtremes) {
    ScratchDir dir;
    for (std::size_t field : {kNumFrames, kNumTags, kNumSurfaces}) {
        for (std::int32_t value : {INT_MAX, INT_MIN, -1, 1 << 24}) {
            Bytes b = ValidFile();
            PutI32(b, field, value);
            EXPECT_NE(LoadFailure(dir, b), "") << "field " << field << " = " << value;
        }
    }
}

TEST(MD3Hostile, HeaderOffsetsOutsideTheFile) {
    ScratchDir dir;
    for (std::size_t field : {kOfsFrames, kOfsTags, kOfsSurfaces}) {
        for (std::int32_t value : {INT_MAX, INT_MIN, -108, 1 << 20}) {
            Bytes b = ValidFile();
            PutI32(b, field, value);
            EXPECT_NE(LoadFailure(dir, b), "") << "field " << field << " = " << value;
        }
    }
}

TEST(MD3Hostile, SurfaceFieldsAtTheExtremes) {
    ScratchDir dir;
    // Counts may not be negative; offsets may point anywhere inside the file, but no further.
    const std::size_t counts[] = {kSurfNumShaders, kSurfNumVerts, kSurfNumTriangles};
    const std::size_t offsets[] = {kSurfOfsTriangles, kSurfOfsShaders, kSurfOfsST, kSurfOfsXyz};
    for (std::size_t field : counts) {
        for (std::int32_t value : {INT_MAX, INT_MIN, -1, 1 << 26}) {
            Bytes b = ValidFile();
            const std::size_t surface = GetI32(b, kOfsSurfaces);
            PutI32(b, surface + field, value);
            EXPECT_NE(LoadFailure(dir, b), "") << "surface field " << field << " = " << value;
        }
    }
    for (std::size_t field : offsets) {
        for (std::int32_t value : {INT_MAX, INT_MIN, -(1 << 20), 1 << 26}) {
            Bytes b = ValidFile();
            const std::size_t surface = GetI32(b, kOfsSurfaces);
            PutI32(b, surface + field, value);
            EXPECT_NE(LoadFailure(dir, b), "") << "surface field " << field << " = " << value;
        }
    }
    Bytes b = ValidFile();
    PutI32(b, GetI32(b, kOfsSurfaces) + kSurfOfsST, 1 << 26);
    const std::string reason = LoadFailure(dir, b);
    EXPECT_EQ(reason.rfind("the texture coordinates of surface 0 (", 0), 0u) << reason;
    EXPECT_NE(reason.find(") run past the end of the file"), std::string::npos) << reason;
}

TEST(MD3Hostile, SurfaceChainPointingBackOrPastTheEnd) {
    ScratchDir dir;
    Bytes b = ValidFile();
    const std::size_t surface = GetI32(b, kOfsSurfaces);
    PutI32(b, surface + kSurfOfsEnd, 1 << 30);
    EXPECT_NE(LoadFailure(dir, b), "");
    PutI32(b, surface + kSurfOfsEnd, -static_cast<std::int32_t>(surface) - 500);
    EXPECT_NE(LoadFailure(dir, b), "");
}

TEST(MD3Hostile, ManySurfacesSharingTheSameBytesAreRefused) {
    ScratchDir dir;
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 200, .frames = 4, .tags = 0});
    Bytes b = LayOut(model, {});
    // Every surface points at itself: a small file that would describe a huge model.
    const std::size_t surface = GetI32(b, kOfsSurfaces);
    PutI32(b, surface + kSurfOfsEnd, 0);
    PutI32(b, kNumSurfaces, static_cast<std::int32_t>((b.size() - surface) / 108));
    EXPECT_NE(LoadFailure(dir, b).find("overlaps"), std::string::npos);
}

TEST(MD3Hostile, TriangleIndexOutsideTheSurface) {
    ScratchDir dir;
    for (std::int32_t bad : {-1, 32, INT_MAX}) {
        TMD3 model;
        MakeModel(model, {.surfaces = 1, .vertsPerSurface = 32, .frames = 1, .tags = 0});
        ASSERT_GT(model.header.surfaces[0].numTriangles, 3);
        model.header.surfaces[0].triangles[3].indexes[1] = bad;
        EXPECT_NE(LoadFailure(dir, LayOut(model, {})).find("refers to vertex"), std::string::npos);
    }
}

TEST(MD3Hostile, MissingFileRaisesTheOpenError) {
    ScratchDir dir;
    TMD3 model;
    const std::string name = dir.File("missing.md3");
    try {
        model.LoadFromFile(name);
        FAIL() << "no error raised";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + name + "\". No such file or directory.");
    }
    EXPECT_THROW(model.LoadFromFile(dir.path().string()), FileError);
}

}  // namespace
