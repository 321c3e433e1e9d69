// glTF models in the main window: dropped, chosen through their own command and through the
// general loader; a skinned one becomes a player when the user says so.
#include <QAction>

#include "import/gltf_builder.h"
#include "main_window_fixture.h"

namespace {

class GltfImportCommands : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window_->Prompts().askYesNoCancel = [this](const QString&, const QString& text) {
            questions_ << text;
            return answer_;
        };
        ShowAndWait();
    }
    // One triangle under one joint; with `skinned` the node draws it through the skin.
    QString WriteGltf(const std::string& name, bool skinned) {
        GltfBuilder b;
        const int joint = b.Node("Bip01");
        const int positions = b.Floats({0, 0, 0, 0, 0, 4, 4, 0, 0}, TINYGLTF_TYPE_VEC3);
        const int joints = b.Accessor(std::vector<float>(12, 0), TINYGLTF_TYPE_VEC4,
                                      TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
        const int weights = b.Floats({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, TINYGLTF_TYPE_VEC4);
        const int mesh = b.Mesh(
            "plate", {{"POSITION", positions}, {"JOINTS_0", joints}, {"WEIGHTS_0", weights}});
        const int node = b.Node("plate", -1, mesh);
        if (skinned) {
            tinygltf::Skin skin;
            skin.joints = {joint};
            b.model.skins.push_back(skin);
            b.model.nodes[static_cast<std::size_t>(node)].skin = 0;
        }
        testing_support::WriteBytes(dir_.File(name), b.Bytes(name.ends_with(".glb")));
        return QString::fromStdString(dir_.File(name));
    }
    QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }

    TAnswer answer_ = TAnswer::Yes;
    QStringList questions_;
};

}  // namespace

TEST_F(GltfImportCommands, DroppedChosenAndGeneralLoadsConvert) {
    window_->HandleDroppedFiles({WriteGltf("plate.glb", false)});
    EXPECT_EQ(window_->StatusText(), "glTF loaded and converted to MD3");
    EXPECT_EQ(window_->ModelKind(), kModelKindMD3);
    EXPECT_TRUE(questions_.isEmpty());

    struct Case {
        TAnswer answer;
        int kind;
        const char* status;
    };
    for (const Case& c :
         {Case{TAnswer::Yes, kModelKindMDMMDX, "glTF loaded and converted to MDM/MDX"},
          Case{TAnswer::No, kModelKindMD3, "glTF loaded and converted to MD3"}}) {
        answer_ = c.answer;
        questions_.clear();
        answerOpen_ = WriteGltf("player.glb", true);
        Action("actionFileLoadGLTF")->trigger();
        EXPECT_EQ(openTitles_.last(), "Select a glTF model to load");
        EXPECT_EQ(questions_.size(), 1);
        EXPECT_EQ(window_->StatusText(), c.status);
        EXPECT_EQ(window_->ModelKind(), c.kind);
    }

    // The general loader picks the importer by extension, a text .gltf as well.
    answerOpen_ = WriteGltf("plate.gltf", false);
    answerFilterIndex_ = 0;
    Action("actionFileLoadAnyFromFile")->trigger();
    EXPECT_EQ(window_->StatusText(), "glTF loaded and converted to MD3");
    EXPECT_EQ(window_->MD3().header.surfaces[0].numTriangles, 1);
}
