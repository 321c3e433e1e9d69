// The sky box: loading its faces through the texture hooks and drawing them around the
// camera.
#include <GL/gl.h>
#include <GL/glu.h>

#include <map>

#include "gl_test_context.h"
#include "render/gl/sky_box.h"

namespace {

struct Rgb {
    int r, g, b;
};

const std::map<std::string, Rgb> kFaceColours = {
    {"skyLeft", {200, 0, 0}},  {"skyRight", {0, 200, 0}},   {"skyBottom", {0, 0, 200}},
    {"skyTop", {200, 200, 0}}, {"skyFront", {0, 200, 200}}, {"skyBack", {200, 0, 200}},
};

}  // namespace

class SkyBox : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        TTextureHooks hooks;
        hooks.loadWithGamma = [this](const std::string& path, float gamma) -> std::uint32_t {
            loaded_.push_back(path);
            gammas_.push_back(gamma);
            const auto found = kFaceColours.find(path);
            if (found == kFaceColours.end() || path == missing_) return 0;
            return SolidTexture(found->second);
        };
        hooks.deleteTexture = [this](std::uint32_t texture) {
            deleted_.push_back(texture);
            const GLuint name = texture;
            glDeleteTextures(1, &name);
        };
        hooks.freeAll = [this] { ++freeAllCalls_; };
        ogl_.SetTextureHooks(hooks);
    }

    static std::uint32_t SolidTexture(Rgb c) {
        const GLubyte texel[4 * 3] = {GLubyte(c.r), GLubyte(c.g), GLubyte(c.b), GLubyte(c.r),
                                      GLubyte(c.g), GLubyte(c.b), GLubyte(c.r), GLubyte(c.g),
                                      GLubyte(c.b), GLubyte(c.r), GLubyte(c.g), GLubyte(c.b)};
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        return name;
    }

    // The colour straight ahead (a little above the horizon) looking from the camera
    // towards `direction`.
    std::array<std::uint8_t, 4> Look(TVector3 direction, TVector3 up = kVectorPosY) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ogl_.ApplyProjection();
        TCamera& camera = ogl_.Camera();
        camera.position = {30, 20, -10};  // the box travels with the camera
        camera.target = camera.position + direction;
        gluLookAt(camera.position.x, camera.position.y, camera.position.z, camera.target.x,
                  camera.target.y, camera.target.z, up.x, up.y, up.z);
        ogl_.SkyBox().DrawSkyBox(camera);
        return Read().Pixel(kWidth / 2, kHeight / 2 - 10);
    }

    std::string missing_;
    std::vector<std::string> loaded_;
    std::vector<float> gammas_;
    std::vector<std::uint32_t> deleted_;
    int freeAllCalls_ = 0;
};

TEST_F(SkyBox, EachDirectionShowsItsFace) {
    TSkyBox& sky = ogl_.SkyBox();
    ASSERT_TRUE(sky.LoadSkyBox("sky"));
    EXPECT_EQ(loaded_, (std::vector<std::string>{"skyLeft", "skyRight", "skyBottom", "skyTop",
                                                 "skyFront", "skyBack"}));
    EXPECT_EQ(gammas_, std::vector<float>(6, 1.0f));
    EXPECT_NE(sky.DisplayList(), 0u);
    EXPECT_EQ(sky.FaceName(TSkyFace::kTop), "skyTop");
    sky.SetSkyBoxShown(true);
    EXPECT_TRUE(sky.Visible());

    EXPECT_TRUE(ColourNear(Look(kVectorNegZ), 200, 0, 200));               // back
    EXPECT_TRUE(ColourNear(Look(kVectorPosZ), 0, 200, 200));               // front
    EXPECT_TRUE(ColourNear(Look(kVectorPosX), 0, 200, 0));                 // right
    EXPECT_TRUE(ColourNear(Look(kVectorNegX), 200, 0, 0));                 // left
    EXPECT_TRUE(ColourNear(Look(kVectorPosY, kVectorNegZ), 200, 200, 0));  // top
    EXPECT_TRUE(ColourNear(Look(kVectorNegY, kVectorNegZ), 0, 0, 200));    // bottom
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SkyBox, HiddenBoxDrawsNothing) {
    ASSERT_TRUE(ogl_.SkyBox().LoadSkyBox("sky"));
    ogl_.SkyBox().SetSkyBoxShown(false);
    EXPECT_TRUE(ColourNear(Look(kVectorNegZ), 0, 0, 0));
}

TEST_F(SkyBox, MissingFaceFreesTheOthersAndHidesTheBox) {
    TSkyBox& sky = ogl_.SkyBox();
    sky.SetSkyBoxShown(true);
    missing_ = "skyTop";
    EXPECT_FALSE(sky.LoadSkyBox("sky"));
    EXPECT_EQ(loaded_.size(), 4u);   // stopped at the missing face
    EXPECT_EQ(deleted_.size(), 3u);  // left, right and bottom were made and are gone
    EXPECT_FALSE(sky.Shown());
    EXPECT_EQ(sky.DisplayList(), 0u);
    sky.SetSkyBoxShown(true);  // the menu check wins at start-up
    EXPECT_FALSE(sky.Visible());
    EXPECT_TRUE(sky.FaceName(TSkyFace::kLeft).empty());
    EXPECT_EQ(sky.FaceTexture(TSkyFace::kLeft), 0u);
}

TEST_F(SkyBox, ReleasingTheContextFreesTheFacesWhileItIsCurrent) {
    ASSERT_TRUE(ogl_.SkyBox().LoadSkyBox("sky"));
    ogl_.Release();
    EXPECT_EQ(deleted_.size(), 6u);
    EXPECT_EQ(freeAllCalls_, 1);
    EXPECT_EQ(ogl_.SkyBox().DisplayList(), 0u);
    EXPECT_FALSE(ogl_.SkyBox().LoadSkyBox("sky"));  // no context, no box
}
