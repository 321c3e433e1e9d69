// Bakes against an independent reading of the game's renderer: the bones of R_CalcBone (roots
// at the frame's parent offset, children along their offset angles through the renderer's
// sine table, rotations from AnglesToAxis), vertices as in RB_MDM_SurfaceAnim and MDM tags as
// in R_MDM_GetBoneTag; MDS tags as in the MDS renderer's R_GetBoneTag, its vertices with exact
// offset directions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

#include "md3/md3.h"
#include "mds_writer.h"
#include "skeletal/mds_convert.h"
#include "skeletal/skeletal_export.h"
#include "skeletal_test_util.h"
#include "support/test_files.h"

namespace {

using testing_support::SampleDir;
using V3 = std::array<float, 3>;

constexpr float kVertexTolerance = 1.0f / 64;
constexpr float kAxisTolerance = 0.002f;

struct GameBone {
    std::array<V3, 3> matrix;
    V3 translation;
};

float Short2Angle(std::int16_t s) {
    return static_cast<float>(s * (360.0 / 65536));
}

// AngleVectors, then axis[1] = -right.
std::array<V3, 3> AnglesToAxis(const std::int16_t* angles) {
    const double pitch = Short2Angle(angles[0]) * (M_PI * 2 / 360);
    const double yaw = Short2Angle(angles[1]) * (M_PI * 2 / 360);
    const double roll = Short2Angle(angles[2]) * (M_PI * 2 / 360);
    const float sy = static_cast<float>(std::sin(yaw)), cy = static_cast<float>(std::cos(yaw));
    const float sp = static_cast<float>(std::sin(pitch)), cp = static_cast<float>(std::cos(pitch));
    const float sr = static_cast<float>(std::sin(roll)), cr = static_cast<float>(std::cos(roll));
    const V3 forward{cp * cy, cp * sy, -sp};
    const V3 right{-1 * sr * sp * cy + -1 * cr * -sy, -1 * sr * sp * sy + -1 * cr * cy,
                   -1 * sr * cp};
    const V3 up{cr * sp * cy + -sr * -sy, cr * sp * sy + -sr * cy, cr * cp};
    return {forward, V3{-right[0], -right[1], -right[2]}, up};
}

// LocalIngleVector: the renderer's 1024-entry table, indexed by the angle's top ten bits.
V3 IngleVector(std::int16_t pitch, std::int16_t yaw) {
    static const auto table = [] {
        std::array<float, 1024> t{};
        for (int i = 0; i < 1024; ++i)
            t[static_cast<std::size_t>(i)] =
                static_cast<float>(std::sin(i * 360.0f / 1023.0f * M_PI / 180.0f));
        return t;
    }();
    const auto sinOf = [&](int i) { return table[static_cast<std::size_t>((i & 65535) >> 6)]; };
    const auto cosOf = [&](int i) {
        return table[static_cast<std::size_t>((((i & 65535) >> 6) + 256) & 1023)];
    };
    const float sy = sinOf(yaw), cy = cosOf(yaw), sp = sinOf(pitch), cp = cosOf(pitch);
    return {cp * cy, cp * sy, -sp};
}

// The MDS renderer's LocalAngleVector: exact sines.
V3 AngleVector(std::int16_t pitch, std::int16_t yaw) {
    const double p = Short2Angle(pitch) * (M_PI * 2 / 360);
    const double y = Short2Angle(yaw) * (M_PI * 2 / 360);
    const float sp = static_cast<float>(std::sin(p)), cp = static_cast<float>(std::cos(p));
    const float sy = static_cast<float>(std::sin(y)), cy = static_cast<float>(std::cos(y));
    return {cp * cy, cp * sy, -sp};
}

std::vector<GameBone> CalcBones(const std::vector<TMDXBoneInfo>& info, const TMDXFrame& frame,
                                bool sineTable) {
    std::vector<GameBone> bones(info.size());
    for (std::size_t i = 0; i < info.size(); ++i) {
        const TMDXBoneFrame& f = frame.boneFrames[i];
        bones[i].matrix = AnglesToAxis(f.angles);
        if (info[i].parent >= 0) {
            const V3 vec = sineTable ? IngleVector(f.ofsAngles[0], f.ofsAngles[1])
                                     : AngleVector(f.ofsAngles[0], f.ofsAngles[1]);
            const V3& parent = bones[static_cast<std::size_t>(info[i].parent)].translation;
            for (int k = 0; k < 3; ++k)
                bones[i].translation[k] = parent[k] + info[i].parentDist * vec[k];
        } else {
            bones[i].translation = {frame.parentOffset.x, frame.parentOffset.y,
                                    frame.parentOffset.z};
        }
    }
    return bones;
}

// LocalMatrixTransformVector, with the translation when given.
V3 Transform(TVector3 in, const GameBone& bone, bool translate) {
    V3 out{};
    for (int i = 0; i < 3; ++i) {
        out[i] = in.x * bone.matrix[i][0] + in.y * bone.matrix[i][1] + in.z * bone.matrix[i][2] +
                 (translate ? bone.translation[i] : 0.0f);
    }
    return out;
}

V3 GameVertex(const TMDMVertex& v, const std::vector<GameBone>& bones) {
    V3 out{};
    for (const TMDMWeight& w : v.weights) {
        const V3 p = Transform(w.offset, bones[static_cast<std::size_t>(w.boneIndex)], true);
        for (int k = 0; k < 3; ++k)
            out[k] += w.boneWeight * p[k];
    }
    return out;
}

void ExpectNear(TVector3 actual, const V3& expected, float tolerance, const std::string& what) {
    const float d = std::max({std::fabs(actual.x - expected[0]), std::fabs(actual.y - expected[1]),
                              std::fabs(actual.z - expected[2])});
    EXPECT_LE(d, tolerance) << what << ": (" << actual.x << ", " << actual.y << ", " << actual.z
                            << ") against (" << expected[0] << ", " << expected[1] << ", "
                            << expected[2] << ")";
}

TVector3 Stored(const TMD3Vertex& v) {
    return {v.x / 64.0f, v.y / 64.0f, v.z / 64.0f};
}

// Every vertex and tag of one baked frame against the game's pose of that frame.
void ExpectBakeMatchesTheGame(TMDM& mesh, const TMDX& anim, std::uint32_t frame,
                              const std::vector<GameBone>& bones) {
    TMD3 md3;
    ASSERT_TRUE(BakeFramesToMD3(mesh, anim, frame, frame, md3).baked);
    const std::string at = "frame " + std::to_string(frame);
    for (std::size_t s = 0; s < mesh.surfaces.size(); ++s) {
        const TSurface& baked = md3.header.surfaces[s];
        for (std::size_t v = 0; v < mesh.surfaces[s].vertices.size(); ++v) {
            ExpectNear(Stored(baked.vertices[v]), GameVertex(mesh.surfaces[s].vertices[v], bones),
                       kVertexTolerance,
                       at + " surface " + std::to_string(s) + " vertex " + std::to_string(v));
            if (testing::Test::HasFailure()) return;
        }
    }
    for (std::size_t t = 0; t < mesh.tags.size(); ++t) {
        const TMDMTag& tag = mesh.tags[t];
        const GameBone& bone = bones[static_cast<std::size_t>(tag.boneIndex)];
        const TMD3Tag& baked = md3.header.tags[t];
        const std::string what = at + " tag " + tag.name;
        ExpectNear(baked.origin, Transform(tag.offset, bone, true), kVertexTolerance, what);
        for (int k = 0; k < 3; ++k)
            ExpectNear(baked.axis[k], Transform(tag.axis[k], bone, false), kAxisTolerance, what);
    }
}

TEST(SkeletalGamePose, BakesOfThePlayersEqualTheGamesPose) {
    VELDRA_REQUIRE_SAMPLES("mdm");
    VELDRA_REQUIRE_SAMPLES("mdx");
    TMDX anim;
    ASSERT_TRUE(anim.LoadFromFile((SampleDir("mdx") / "body.mdx").string()));
    for (const char* name : {"allied_engineer_body.mdm", "allied_soldier_body.mdm", "naked.mdm"}) {
        SCOPED_TRACE(name);
        TMDM mesh;
        skeletal_test::ScriptedPrompts prompts;
        ASSERT_TRUE(mesh.LoadFromFile((SampleDir("mdm") / name).string(), prompts));
        // Frames spread over the whole animation: standing, crouching, prone, dying.
        for (std::uint32_t f = 0; f < anim.frames.size(); f += 211) {
            ExpectBakeMatchesTheGame(mesh, anim, f, CalcBones(anim.bones, anim.frames[f], true));
            if (HasFailure()) return;
        }
    }
}

// A converted MDS must stand where the MDS renderer draws the MDS at the conversion frame:
// tags as their tag bones' own frames, vertices weighted on tag bones where their offsets put
// them. Offset angles are zeroed so that both renderers' directions agree exactly.
TEST(SkeletalGamePose, AConvertedMDSKeepsItsTagsAndTagBoneWeights) {
    VELDRA_REQUIRE_SAMPLES("mdx");
    TMDM pairMesh;
    TMDX pairAnim;
    skeletal_test::ScriptedPrompts prompts;
    ASSERT_TRUE(
        pairMesh.LoadFromFile((SampleDir("mdm") / "allied_engineer_body.mdm").string(), prompts));
    ASSERT_TRUE(pairAnim.LoadFromFile((SampleDir("mdx") / "mortar.mdx").string()));
    for (TMDXFrame& frame : pairAnim.frames) {
        for (TMDXBoneFrame& bf : frame.boneFrames)
            bf.ofsAngles[0] = bf.ofsAngles[1] = 0;
    }
    TMDS mds = AssembleMDS(pairMesh, pairAnim, 3);
    const std::size_t kept = pairAnim.bones.size();
    // The tag bones turn on their own, and two of them carry vertices.
    for (std::size_t f = 0; f < mds.frames.size(); ++f) {
        for (std::size_t b = kept; b < mds.bones.size(); ++b) {
            TMDXBoneFrame& bf = mds.frames[f].boneFrames[b];
            bf.angles[0] = static_cast<std::int16_t>(3000 * b + 40 * f);
            bf.angles[1] = static_cast<std::int16_t>(-9000 + 700 * b);
            bf.angles[2] = static_cast<std::int16_t>(12000 - 50 * f);
        }
    }
    TMDSVertex& moved = mds.surfaces[0].vertices[3];
    moved.weights = {{static_cast<std::int32_t>(kept), 0.75f, {1, 2, 3}},
                     {static_cast<std::int32_t>(kept + 1), 0.25f, {-4, 0.5f, 2}}};
    moved.numWeights = 2;

    TMDM mesh;
    TMDX anim;
    const TMDSConversion conversion = ConvertMDS(mds, mesh, anim);
    const std::uint32_t f = conversion.frame;
    const std::vector<GameBone> mdsBones = CalcBones(mds.bones, mds.frames[f], false);
    TMD3 md3;
    ASSERT_TRUE(BakeFramesToMD3(mesh, anim, f, f, md3).baked);

    V3 expected{};
    for (const TMDMWeight& w : moved.weights) {
        const V3 p = Transform(w.offset, mdsBones[static_cast<std::size_t>(w.boneIndex)], true);
        for (int k = 0; k < 3; ++k)
            expected[k] += w.boneWeight * p[k];
    }
    ExpectNear(Stored(md3.header.surfaces[0].vertices[3]), expected, kVertexTolerance,
               "the vertex on tag bones");
    for (std::size_t t = 0; t < 3; ++t) {
        const GameBone& own = mdsBones[static_cast<std::size_t>(mds.tags[t].boneIndex)];
        const TMD3Tag& baked = md3.header.tags[t];
        ExpectNear(baked.origin, own.translation, kVertexTolerance, mds.tags[t].name);
        for (int k = 0; k < 3; ++k)
            ExpectNear(baked.axis[k], own.matrix[k], kAxisTolerance, mds.tags[t].name);
    }
}

}  // namespace
