// Mirroring, rotating, scaling and moving the whole model, and the tag-axis edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "md3/md3.h"
#include "md3_test_util.h"
#include "model_factory.h"

namespace {

using md3_test::ExpectSameModel;

TMD3 TwoSurfaces(int frames = 2) {
    TMD3 model;
    MakeModel(model, {.surfaces = 2, .vertsPerSurface = 32, .frames = frames, .tags = 2});
    // Off-centre, so that a mirror or rotation that hits a frame twice or not at all shows.
    for (TMD3Frame& f : model.header.frames)
        f.localOrigin = {1.0f, 2.0f, 3.0f};
    return model;
}

void ExpectNormalsNear(const TMD3& a, const TMD3& b, float minDot) {
    for (std::size_t i = 0; i < a.header.surfaces.size(); ++i) {
        const auto& va = a.header.surfaces[i].vertices;
        const auto& vb = b.header.surfaces[i].vertices;
        ASSERT_EQ(va.size(), vb.size());
        for (std::size_t v = 0; v < va.size(); ++v) {
            EXPECT_GT(VectorDot(DecodeNormal(va[v].normal), DecodeNormal(vb[v].normal)), minDot)
                << "surface " << i << " vertex " << v;
        }
    }
}

void ExpectTagsNear(const TMD3& a, const TMD3& b, float eps) {
    ASSERT_EQ(a.header.tags.size(), b.header.tags.size());
    for (std::size_t t = 0; t < a.header.tags.size(); ++t) {
        EXPECT_TRUE(VectorEqualEps(a.header.tags[t].origin, b.header.tags[t].origin, eps)) << t;
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(VectorEqualEps(a.header.tags[t].axis[k], b.header.tags[t].axis[k], eps));
    }
}

// Positions, frames and triangles exactly; normals and tags up to rounding.
void ExpectSameShape(const TMD3& a, const TMD3& b) {
    ASSERT_EQ(a.header.surfaces.size(), b.header.surfaces.size());
    for (std::size_t i = 0; i < a.header.surfaces.size(); ++i) {
        const TSurface& s = a.header.surfaces[i];
        const TSurface& t = b.header.surfaces[i];
        for (std::size_t v = 0; v < s.vertices.size(); ++v) {
            EXPECT_TRUE(s.vertices[v].x == t.vertices[v].x && s.vertices[v].y == t.vertices[v].y &&
                        s.vertices[v].z == t.vertices[v].z)
                << "surface " << i << " vertex " << v;
        }
        EXPECT_EQ(std::memcmp(s.triangles.data(), t.triangles.data(),
                              s.triangles.size() * sizeof(TMD3Triangle)),
                  0);
    }
    ExpectNormalsNear(a, b, 0.99f);
    ExpectTagsNear(a, b, 1e-5f);
}

TEST(MD3Mirror, MirrorXActsOnceOnEverything) {
    TMD3 model = TwoSurfaces();
    const TMD3 original = model;
    EXPECT_EQ(model.MirrorX(), 0);
    const THeader& h = model.header;
    const THeader& o = original.header;
    for (int f = 0; f < 2; ++f) {
        EXPECT_EQ(h.frames[f].minBounds.x, -o.frames[f].maxBounds.x);
        EXPECT_EQ(h.frames[f].maxBounds.x, -o.frames[f].minBounds.x);
        EXPECT_EQ(h.frames[f].minBounds.y, o.frames[f].minBounds.y);
        EXPECT_EQ(h.frames[f].localOrigin, (TVector3{-1.0f, 2.0f, 3.0f}));
    }
    for (int i = 0; i < 2; ++i) {
        const TSurface& s = h.surfaces[i];
        for (std::size_t v = 0; v < s.vertices.size(); ++v) {
            EXPECT_EQ(s.vertices[v].x, -o.surfaces[i].vertices[v].x);
            EXPECT_EQ(s.vertices[v].y, o.surfaces[i].vertices[v].y);
        }
        for (std::size_t t = 0; t < s.triangles.size(); ++t) {
            EXPECT_EQ(s.triangles[t].indexes[0], o.surfaces[i].triangles[t].indexes[2]);
            EXPECT_EQ(s.triangles[t].indexes[2], o.surfaces[i].triangles[t].indexes[0]);
        }
    }
    EXPECT_EQ(h.tags[3].origin.x, -o.tags[3].origin.x);
    EXPECT_EQ(h.tags[3].axis[0], (TVector3{-1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(h.tags[3].axis[1], o.tags[3].axis[1]);

    EXPECT_EQ(model.MirrorX(), 0);
    ExpectSameShape(model, original);
    EXPECT_EQ(h.frames[1].minBounds, o.frames[1].minBounds);
}

TEST(MD3Mirror, NormalsAlongAndAcrossTheAxis) {
    TMD3 model = TwoSurfaces(1);
    TMD3Vertex& up = model.header.surfaces[0].vertices[0];
    TMD3Vertex& side = model.header.surfaces[0].vertices[1];
    up.normal = EncodeNormal(kVectorPosZ);
    side.normal = EncodeNormal(kVectorPosX);
    model.MirrorX();
    EXPECT_EQ(up.normal, 0);
    EXPECT_GT(VectorDot(DecodeNormal(side.normal), kVectorNegX), 0.9999f);

    const TMD3 before = model;
    model.MirrorNormals();
    ExpectNormalsNear(model, before, -2.0f);  // sizes only
    EXPECT_LT(VectorDot(DecodeNormal(side.normal), kVectorNegX), -0.99f);
    model.MirrorNormals();
    ExpectNormalsNear(model, before, 0.99f);
    EXPECT_EQ(side.normal, before.header.surfaces[0].vertices[1].normal);
}

TEST(MD3Mirror, TheMostNegativeStoredValueIsClampedNotWrapped) {
    TMD3 model = TwoSurfaces(1);
    model.header.surfaces[1].vertices[4].z = -32768;
    EXPECT_EQ(model.MirrorZ(), 1);
    EXPECT_EQ(model.header.surfaces[1].vertices[4].z, 32767);
}

TEST(MD3Rotate, NinetyDegreesAboutZTakesXToMinusY) {
    TMD3 model = TwoSurfaces(1);
    TMD3Vertex& v = model.header.surfaces[0].vertices[0];
    v = {64, 0, 0, EncodeNormal(kVectorPosX)};
    model.header.tags[0].origin = {0, 0, 0};
    EXPECT_EQ(model.RotateZ(90.0f), 0);
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, -64);
    EXPECT_EQ(v.z, 0);
    EXPECT_GT(VectorDot(DecodeNormal(v.normal), kVectorNegY), 0.99f);
    EXPECT_TRUE(VectorEqualEps(model.header.tags[0].axis[0], kVectorNegY, 1e-6f));
    EXPECT_TRUE(VectorEqualEps(model.header.frames[0].localOrigin, {2, -1, 3}, 1e-6f));
}

TEST(MD3Rotate, FourQuarterTurnsGiveBackTheModel) {
    for (int axis = 0; axis < 3; ++axis) {
        TMD3 model = TwoSurfaces();
        const TMD3 original = model;
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(axis == 0   ? model.RotateX(90)
                      : axis == 1 ? model.RotateY(90)
                                  : model.RotateZ(90),
                      0);
        }
        SCOPED_TRACE("axis " + std::to_string(axis));
        ExpectSameShape(model, original);
        for (int f = 0; f < 2; ++f) {
            EXPECT_TRUE(VectorEqualEps(model.header.frames[f].localOrigin,
                                       original.header.frames[f].localOrigin, 1e-5f));
            EXPECT_TRUE(VectorEqualEps(model.header.frames[f].minBounds,
                                       original.header.frames[f].minBounds, 1e-5f));
        }
    }
}

TEST(MD3Rotate, BoundsComeFromTheTurnedVertices) {
    TMD3 model = TwoSurfaces();
    // Every vertex of frame 1 ends up at negative x.
    for (TSurface& s : model.header.surfaces)
        for (int v = 0; v < s.numVerts; ++v)
            s.vertices[s.numVerts + v] = {static_cast<std::int16_t>(-100 - v), 5, 7, 0};
    model.RotateZ(180.0f);
    model.RotateZ(180.0f);
    EXPECT_EQ(model.header.frames[1].maxBounds.x, -100 * kMD3XyzScale);
    EXPECT_EQ(model.header.frames[1].minBounds.x, -131 * kMD3XyzScale);

    model.FrameBoundsFromVertices(7);  // outside: nothing to do
    for (TSurface& s : model.header.surfaces) {
        s.numVerts = 0;
        s.vertices.clear();
        s.texCoords.clear();
        s.triangles.clear();
        s.numTriangles = 0;
    }
    model.FrameBoundsFromVertices(1);
    EXPECT_EQ(model.header.frames[1].minBounds, kVectorZero);
    EXPECT_EQ(model.header.frames[1].maxBounds, kVectorZero);
}

TEST(MD3Rotate, WithoutSurfacesOnlyTheTagsTurn) {
    TMD3 model = TwoSurfaces();
    model.header.surfaces.clear();
    model.header.numSurfaces = 0;
    const TMD3 original = model;
    model.RotateZ(90.0f);
    EXPECT_EQ(std::memcmp(model.header.frames.data(), original.header.frames.data(),
                          2 * sizeof(TMD3Frame)),
              0);
    EXPECT_TRUE(VectorEqualEps(model.header.tags[0].axis[0], kVectorNegY, 1e-6f));
}

TEST(MD3Rotate, PositionsLeavingTheRangeAreClampedAndCounted) {
    TMD3 model = TwoSurfaces(1);
    model.header.surfaces[0].vertices[0] = {30000, 30000, 0, 0};
    EXPECT_EQ(model.RotateZ(45.0f), 1);
    EXPECT_EQ(model.header.surfaces[0].vertices[0].x, 32767);
    EXPECT_EQ(model.header.surfaces[0].vertices[0].y, 0);
}

// A negative factor is a mirror through the origin: the same as mirroring at the three
// planes, so normals, tag axes and windings turn exactly once.
TEST(MD3Scale, NegativeFactorsMirrorThroughTheOrigin) {
    const TMD3 original = TwoSurfaces();
    TMD3 mirrored = original;
    mirrored.MirrorX();
    mirrored.MirrorY();
    mirrored.MirrorZ();
    TMD3 scaled = original;
    EXPECT_EQ(scaled.ScaleModel(-1.0f), 0);
    ExpectSameShape(scaled, mirrored);
    EXPECT_EQ(scaled.header.surfaces[0].triangles[0].indexes[0],
              original.header.surfaces[0].triangles[0].indexes[2]);
    EXPECT_EQ(scaled.header.tags[1].axis[2], VectorNegate(original.header.tags[1].axis[2]));
    ExpectNormalsNear(scaled, mirrored, 0.99f);
    for (std::size_t f = 0; f < 2; ++f) {
        EXPECT_EQ(scaled.header.frames[f].minBounds, mirrored.header.frames[f].minBounds);
        EXPECT_EQ(scaled.header.frames[f].localOrigin, mirrored.header.frames[f].localOrigin);
    }
}

TEST(MD3Scale, FactorsRoundTiesToEvenAndKeepBoundsOrdered) {
    TMD3 model = TwoSurfaces();
    const TMD3 original = model;
    EXPECT_EQ(model.ScaleModel(1.0f), 0);
    ExpectSameModel(model, original);

    TMD3Vertex& v = model.header.surfaces[0].vertices[0];
    v = {3, 5, -3, 77};
    TMD3 doubled = model;
    EXPECT_EQ(doubled.ScaleModel(2.0f), 0);
    const TMD3Vertex& d = doubled.header.surfaces[0].vertices[0];
    EXPECT_TRUE(d.x == 6 && d.y == 10 && d.z == -6 && d.normal == 77);
    EXPECT_EQ(doubled.header.frames[1].radius, 2 * original.header.frames[1].radius);
    EXPECT_EQ(doubled.header.frames[1].maxBounds, original.header.frames[1].maxBounds * 2);
    EXPECT_EQ(doubled.header.frames[0].localOrigin, (TVector3{2, 4, 6}));
    EXPECT_EQ(doubled.header.tags[3].origin, original.header.tags[3].origin * 2);
    EXPECT_EQ(doubled.header.tags[3].axis[0], kVectorPosX);

    TMD3 halved = model;
    halved.ScaleModel(0.5f);
    const TMD3Vertex& hv = halved.header.surfaces[0].vertices[0];
    EXPECT_TRUE(hv.x == 2 && hv.y == 2 && hv.z == -2);

    TMD3 negative = model;
    negative.ScaleModel(-2.0f);
    const TMD3Frame& f = negative.header.frames[0];
    EXPECT_EQ(f.minBounds, original.header.frames[0].maxBounds * -2);
    EXPECT_EQ(f.maxBounds, original.header.frames[0].minBounds * -2);
    EXPECT_EQ(f.radius, 2 * original.header.frames[0].radius);

    TMD3 huge = model;
    EXPECT_GT(huge.ScaleModel(5000.0f), 0);
    EXPECT_EQ(huge.header.surfaces[0].vertices[0].y, 25000);
    EXPECT_EQ(huge.header.surfaces[0].vertices[0].x, 15000);
    EXPECT_EQ(huge.header.surfaces[1].vertices[0].x, 32767);  // 11 * 64 * 5000
}

TEST(MD3Pivot, TheChosenTagBecomesTheOriginOfEveryFrame) {
    TMD3 model = TwoSurfaces();
    const TMD3 original = model;
    EXPECT_EQ(model.TagAsOrigin(1), 0);
    for (int f = 0; f < 2; ++f) {
        const TVector3 p = original.header.tags[f * 2 + 1].origin;
        EXPECT_EQ(model.header.tags[f * 2 + 1].origin, kVectorZero);
        EXPECT_EQ(model.header.tags[f * 2 + 1].axis[2], original.header.tags[f * 2 + 1].axis[2]);
        EXPECT_EQ(model.header.tags[f * 2].origin, original.header.tags[f * 2].origin - p);
        EXPECT_EQ(model.header.frames[f].minBounds, original.header.frames[f].minBounds - p);
        const TSurface& s = model.header.surfaces[1];
        const TMD3Vertex& a = s.vertices[f * 32 + 9];
        const TMD3Vertex& b = original.header.surfaces[1].vertices[f * 32 + 9];
        EXPECT_EQ(a.z, std::lrint((b.z * kMD3XyzScale - p.z) * 64)) << "frame " << f;
        EXPECT_EQ(a.normal, b.normal);
    }
    // The last entry is the frames' local origin.
    EXPECT_EQ(model.TagAsOrigin(2), 0);
    for (const TMD3Frame& f : model.header.frames)
        EXPECT_EQ(f.localOrigin, kVectorZero);

    const TMD3 unchanged = model;
    EXPECT_EQ(model.TagAsOrigin(3), 0);
    EXPECT_EQ(model.TagAsOrigin(-1), 0);
    ExpectSameModel(model, unchanged);

    model.header.tags[0].origin = {-600.0f, 0, 0};
    EXPECT_GT(model.TagAsOrigin(0), 0);
}

// Stored values round to nearest with ties to even; beyond the 16-bit range and for NaN they
// are clamped (NaN to 0) and counted.
TEST(MD3Clamping, StoredValuesRoundTiesToEvenAndClampAtTheLimits) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double stored;
        std::int16_t value;
        int clamped;
    } cases[] = {
        {0.5, 0, 0},
        {1.5, 2, 0},
        {2.5, 2, 0},
        {-0.5, 0, 0},
        {-2.5, -2, 0},
        {-3.5, -4, 0},
        {0.49999999999999994, 0, 0},
        {32766.5, 32766, 0},
        {32767.49, 32767, 0},
        {32767.5, 32767, 1},
        {-32768.5, -32768, 0},
        {-32769.5, -32768, 1},
        {4503599627370497.0, 32767, 1},
        {-1e300, -32768, 1},
        {inf, 32767, 1},
        {-inf, -32768, 1},
        {std::nan(""), 0, 1},
    };
    for (const auto& c : cases) {
        int clamped = 0;
        EXPECT_EQ(ClampStored(c.stored, clamped), c.value) << c.stored;
        EXPECT_EQ(clamped, c.clamped) << c.stored;
    }
    int clamped = 0;
    EXPECT_EQ(StoredCoordinate(-0.0078125f, clamped), 0);  // -0.5 units: a tie, to even
    EXPECT_EQ(StoredCoordinate(0.0234375f, clamped), 2);   // 1.5 units
    EXPECT_EQ(clamped, 0);
}

TEST(MD3Clamping, BoundsAndRadiusDescribeTheStoredVertices) {
    struct Case {
        const char* edit;
        std::function<int(TMD3&)> apply;
    };
    const Case cases[] = {
        {"scale", [](TMD3& m) { return m.ScaleModel(100.0f); }},
        {"rotate", [](TMD3& m) { return m.ScaleModel(31.0f) + m.RotateZ(45.0f); }},
        // The scale reaches -512 exactly, which a mirror cannot store positive.
        {"mirror", [](TMD3& m) { return m.ScaleModel(32.0f) + m.MirrorX(); }},
        {"origin to tag",
         [](TMD3& m) {
             TMD3Tag far;
             SetName64("far", far.name);
             far.origin = {600.0f, 0.0f, 0.0f};
             m.AddTag(far);
             return m.TagAsOrigin(1);
         }},
    };
    for (const Case& c : cases) {
        TMD3 model;
        MakeCube(model);
        EXPECT_GT(c.apply(model), 0) << c.edit;
        const TMD3Frame& frame = model.header.frames[0];
        TVector3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
        float farthest = 0.0f;
        for (const TMD3Vertex& v : model.header.surfaces[0].vertices) {
            const TVector3 p{v.x * kMD3XyzScale, v.y * kMD3XyzScale, v.z * kMD3XyzScale};
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
            farthest = std::max(farthest, VectorLength(p - frame.localOrigin));
        }
        EXPECT_EQ(frame.minBounds, lo) << c.edit;
        EXPECT_EQ(frame.maxBounds, hi) << c.edit;
        EXPECT_FLOAT_EQ(frame.radius, farthest) << c.edit;
    }
}

TEST(MD3TagAxes, InvertAndSwapActOnEveryTagOfEveryFrame) {
    TMD3 model = TwoSurfaces();
    for (TMD3Tag& t : model.header.tags) {
        t.axis[0] = {1, 2, 3};
        t.axis[1] = {4, 5, 6};
        t.axis[2] = {7, 8, 9};
    }
    model.TagsInvertY();
    model.TagsSwapXZ();
    for (const TMD3Tag& t : model.header.tags) {
        EXPECT_EQ(t.axis[0], (TVector3{7, 8, 9}));
        EXPECT_EQ(t.axis[1], (TVector3{-4, -5, -6}));
        EXPECT_EQ(t.axis[2], (TVector3{1, 2, 3}));
    }
}

}  // namespace
