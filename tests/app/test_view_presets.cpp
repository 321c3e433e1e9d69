// Seeing the model: the view presets on their keys (for both mouse control types), the view
// a model opens in, remembered, and reloading shaders and textures on F5.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QOpenGLWidget>
#include <QTreeWidget>

#include "app/pk3_dialog.h"
#include "main_window_fixture.h"
#include "model_factory.h"
#include "render/view_presets.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"
#include "support/zip_fixture.h"

namespace {

// Pixels that differ by more than rounding: the two mouse types reach the same turn by
// different arithmetic.
int DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                             std::abs(qBlue(p) - qBlue(q)) >
                         24;
        }
    return differing;
}

class ViewPresets : public MainWindowTest {
  protected:
    void Start() {
        ShowAndWait();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void LoadModel() {
        TMD3 model;
        MakeModel(model, {.surfaces = 2, .vertsPerSurface = 48, .frames = 1, .tags = 1});
        ASSERT_TRUE(model.SaveToFile(dir_.File("lopsided.md3")));
        window_->LoadMD3FromFile(QString::fromStdString(dir_.File("lopsided.md3")));
    }
    void Press(QKeyCombination keys) {
        QWidget* view = window_->findChild<QWidget*>("oglView");
        view->setFocus();
        QTest::keyClick(view, keys.key(), keys.keyboardModifiers());
    }
    QImage Picture() { return window_->findChild<QOpenGLWidget*>("oglView")->grabFramebuffer(); }
    static TVector3 AnglesOf(TViewPreset preset) {
        TViewState state;
        ApplyViewPreset(state, preset);
        return state.rotationAngles;
    }
    QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }
};

TEST_F(ViewPresets, KeysTurnTheModelAndBothMouseTypesSeeTheSame) {
    Start();
    LoadModel();
    const std::pair<QKeyCombination, TViewPreset> keys[] = {
        {Qt::AltModifier | Qt::Key_1, TViewPreset::Front},
        {Qt::AltModifier | Qt::Key_2, TViewPreset::Back},
        {Qt::AltModifier | Qt::Key_3, TViewPreset::Left},
        {Qt::AltModifier | Qt::Key_4, TViewPreset::Right},
        {Qt::AltModifier | Qt::Key_5, TViewPreset::Top},
        {Qt::AltModifier | Qt::Key_6, TViewPreset::Bottom},
        {Qt::AltModifier | Qt::Key_7, TViewPreset::ThreeQuarter},
        {Qt::KeypadModifier | Qt::Key_1, TViewPreset::Front},
        {Qt::KeypadModifier | Qt::ControlModifier | Qt::Key_1, TViewPreset::Back},
        {Qt::KeypadModifier | Qt::ControlModifier | Qt::Key_7, TViewPreset::Bottom},
    };
    std::vector<QImage> pictures;
    for (const auto& [key, preset] : keys) {
        Press(key);
        const TVector3 angles = window_->View().rotationAngles;
        const TVector3 expected = AnglesOf(preset);
        EXPECT_TRUE(angles.x == expected.x && angles.y == expected.y && angles.z == expected.z)
            << ViewPresetName(preset);
        pictures.push_back(Picture());
    }
    EXPECT_NE(pictures[0], pictures[1]) << "front and back look alike";
    EXPECT_NE(pictures[2], pictures[3]) << "left and right look alike";

    // Mouse control type 2 turns by its matrix: the preset must look the same through it.
    Action("menuViewMouseControl")->trigger();
    for (std::size_t i : {0u, 2u, 6u}) {
        Press(keys[i].first);
        EXPECT_LT(DifferingPixels(Picture(), pictures[i]), 50) << ViewPresetName(keys[i].second);
    }
    SaveWindowPicture("view_preset_three_quarter");
}

TEST_F(ViewPresets, ModelsOpenInTheChosenViewAcrossRestartsAndF5Reloads) {
    Start();
    EXPECT_TRUE(Action("actionViewOpenInTop")->isChecked()) << "from above unless chosen";
    Action("actionViewOpenInThreeQuarter")->trigger();
    LoadModel();
    const TVector3 angles = window_->View().rotationAngles;
    EXPECT_EQ(angles.z, AnglesOf(TViewPreset::ThreeQuarter).z);
    window_->close();
    window_.reset();

    MakeWindow(dir_.path());
    Start();
    EXPECT_TRUE(Action("actionViewOpenInThreeQuarter")->isChecked());
    LoadModel();
    EXPECT_EQ(window_->View().rotationAngles.x, AnglesOf(TViewPreset::ThreeQuarter).x);

    Press(QKeyCombination(Qt::Key_F5));
    EXPECT_EQ(window_->StatusText().toStdString(), "Shaders and textures reloaded");
}

// A player taken from the game gets its class's skins, the first one on.
TEST_F(ViewPresets, APlayerFromTheGameWearsTheFirstOfItsClassSkins) {
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim, {});
    ASSERT_TRUE(mesh.SaveToFile(dir_.File("body.mdm")));
    ASSERT_TRUE(anim.SaveToFile(dir_.File("body.mdx")));
    const auto text = [](const std::vector<std::uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    };
    const std::string folder = "models/players/temperate/axis/soldier/";
    std::filesystem::create_directories(dir_.path() / "game/etmain");
    testing_support::WriteZip(
        dir_.File("game/etmain/pak0.pk3"),
        {{folder + "body.mdm", text(testing_support::ReadBytes(dir_.File("body.mdm")))},
         {folder + "body.mdx", text(testing_support::ReadBytes(dir_.File("body.mdx")))},
         {folder + "body_soldier.skin", "square,textures/a.tga\n"},
         {folder + "body_medic.skin", "square,textures/b.tga\n"},
         {folder + "head_soldier.skin", "h,textures/c.tga\n"}});
    answerFolder_ = QString::fromStdString(dir_.File("game"));
    ShowAndWait();
    TdlgPK3& browser = window_->PK3Dialog();
    QStringList picks{"body.mdm", "body.mdx"};
    browser.runModal = [&picks](TdlgPK3& dialog) {
        for (QTreeWidgetItem* item :
             dialog.Tree()->findItems(picks.takeFirst(), Qt::MatchExactly | Qt::MatchRecursive))
            emit dialog.Tree()->itemDoubleClicked(item, 0);
        return dialog.result();
    };
    Action("actionFileLoadfromgameMDMMDX")->trigger();
    auto* skins = window_->findChild<QComboBox*>("cbClassSkins");
    ASSERT_EQ(skins->count(), 2);
    EXPECT_EQ(skins->itemText(0), "medic");
    EXPECT_EQ(skins->itemText(1), "soldier");
    EXPECT_TRUE(skins->isVisible());
    EXPECT_TRUE(window_->findChild<QLineEdit*>("leSkinFile")->text().endsWith("body_medic.skin"));
    EXPECT_TRUE(window_->StatusText().endsWith("; skin \"medic\" (2 offered)"))
        << window_->StatusText().toStdString();
}

}  // namespace
