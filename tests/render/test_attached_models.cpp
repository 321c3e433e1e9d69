// Placing a character's head and accessories: the game's "model on a tag" composition, and
// the hats that hang on the head's tag rather than the body's.
#include <gtest/gtest.h>

#include "model_factory.h"
#include "render/attached_models.h"

namespace {

void ExpectNear(TVector3 a, TVector3 b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-5f) << what;
    EXPECT_NEAR(a.y, b.y, 1e-5f) << what;
    EXPECT_NEAR(a.z, b.z, 1e-5f) << what;
}

// Turned 90 degrees about Z: forward is the parent's left, left is the parent's back.
TOrientation QuarterTurn(TVector3 origin) {
    TOrientation o;
    o.origin = origin;
    o.axis[0] = kVectorPosY;
    o.axis[1] = kVectorNegX;
    o.axis[2] = kVectorPosZ;
    return o;
}

TEST(AttachedModels, ATagOnATurnedParentIsCarriedAndTurnedWithIt) {
    // Two quarter turns make a half turn; the tag's offset goes along the parent's axes.
    const TOrientation child = PositionOnTag(QuarterTurn({10, 0, 0}), QuarterTurn({1, 2, 3}));
    ExpectNear(child.origin, {8, 1, 3}, "origin");
    ExpectNear(child.axis[0], kVectorNegX, "forward");
    ExpectNear(child.axis[1], kVectorNegY, "left");
    ExpectNear(child.axis[2], kVectorPosZ, "up");
    // The matrix draws a model's forward point where the frame says.
    ExpectNear(MatrixTransformPoint(kVectorPosX, OrientationMatrix(child)), {7, 1, 3}, "drawn");
}

TEST(AttachedModels, HatsHangOnTheHeadAndAMissingTagLeavesOneOut) {
    TAttachedModels models(3);
    MakeCube(models[0].model);  // its tag_top, 16 units up, stands in for the mouth
    SetName64("tag_mouth", models[0].model.header.tags[0].name);
    models[0].where = {kHeadSlot, "", "", "", "tag_head", false};
    models[1].where = {"md3_hat", "", "", "", "tag_mouth", true};
    models[2].where = {"md3_back", "", "", "", "tag_back", false};
    const auto body = [](const std::string& name) -> std::optional<TOrientation> {
        if (name == "tag_head") return QuarterTurn({0, 0, 50});
        return std::nullopt;
    };
    const std::vector<std::optional<TOrientation>> placed = PlaceAttachedModels(models, body);
    ASSERT_EQ(placed.size(), 3u);
    ASSERT_TRUE(placed[0] && placed[1]);
    ExpectNear(placed[0]->origin, {0, 0, 50}, "head");
    ExpectNear(placed[1]->origin, {0, 0, 66}, "hat");
    ExpectNear(placed[1]->axis[0], kVectorPosY, "hat forward");
    EXPECT_FALSE(placed[2]);

    // Without its head a hat has nowhere to go.
    models.erase(models.begin());
    EXPECT_FALSE(PlaceAttachedModels(models, body)[0]);
}

}  // namespace
