// The importers in the main window: menu commands, the general loader and dropped files.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>
#include <fstream>
#include <set>

#include "import/import_test_util.h"
#include "main_window_fixture.h"

namespace {

const char* kBoxAse =
    "*3DSMAX_ASCIIEXPORT\t200\n*MATERIAL_LIST {\n*MATERIAL 0 {\n*MATERIAL_NAME \"w\"\n}\n}\n"
    "*GEOMOBJECT {\n*MESH {\n*MESH_VERTEX_LIST {\n*MESH_VERTEX\t0\t1\t0\t0\n"
    "*MESH_VERTEX\t1\t0\t1\t0\n*MESH_VERTEX\t2\t0\t0\t1\n}\n*MESH_FACE_LIST {\n"
    "*MESH_FACE 0: A: 0 B: 1 C: 2 *MESH_MTLID 0\n}\n}\n}\n";

class ImportCommands : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window_->Prompts().askYesNoCancel = [this](const QString&, const QString& text) {
            questions_ << text;
            return answer_;
        };
        ShowAndWait();
    }
    QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }
    QString WriteAse(const std::string& name, const std::string& text) {
        std::ofstream(dir_.File(name), std::ios::binary) << text;
        return QString::fromStdString(dir_.File(name));
    }
    QString WriteFarMs3d() {
        Ms3dBuilder b;
        b.vertices = {{1022, 0, -10}, {0, 1, 0}, {0, 0, 1}};
        b.triangles = {{0, 1, 2}};
        b.groups = {{"body", {0}}};
        testing_support::WriteBytes(dir_.File("far.ms3d"), b.Bytes());
        return QString::fromStdString(dir_.File("far.ms3d"));
    }

    TAnswer answer_ = TAnswer::Yes;
    QStringList questions_;
};

TEST_F(ImportCommands, DroppedAndChosenFilesConvertIntoAnMD3Model) {
    const QString ase = WriteAse("box.ase", kBoxAse);
    window_->HandleDroppedFiles({ase});
    EXPECT_EQ(window_->StatusText(), "ASE loaded and converted to MD3");
    EXPECT_EQ(window_->ModelKind(), kModelKindASE);
    EXPECT_EQ(window_->findChild<QGroupBox*>("gbModel")->title(), "box.ase");
    EXPECT_TRUE(openTitles_.isEmpty());

    answerOpen_ = WriteFarMs3d();
    Action("actionFileLoadMS3D")->trigger();
    EXPECT_EQ(openTitles_, QStringList{"Select a MilkShape model to load"});
    EXPECT_EQ(questions_.size(), 1);
    EXPECT_EQ(window_->StatusText(), "MS3D loaded and converted to MD3");
    EXPECT_EQ(window_->ModelKind(), kModelKindMS3D);
    EXPECT_EQ(window_->MD3().header.surfaces[0].vertices[0].x, 32704);

    // The general loader picks the importer by extension.
    answerOpen_ = ase;
    answerFilterIndex_ = 0;
    Action("actionFileLoadAnyFromFile")->trigger();
    EXPECT_EQ(window_->ModelKind(), kModelKindASE);
    answerSave_ = QString::fromStdString(dir_.File("box.md3"));
    Action("actionFileSaveAs")->trigger();
    TMD3 saved;
    ASSERT_TRUE(saved.LoadFromFile(dir_.File("box.md3")));
    EXPECT_EQ(saved.header.surfaces[0].numTriangles, 1);
}

TEST_F(ImportCommands, RefusedConversionsResetAndSayWhy) {
    answer_ = TAnswer::No;
    window_->HandleDroppedFiles({WriteFarMs3d()});
    EXPECT_EQ(window_->StatusText(),
              "The MS3D cannot be converted: far.ms3d: MS3D-model coordinates are exceeding the "
              "MD3 bounds: -511 to 511");
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);
    EXPECT_TRUE(window_->MD3().IsEmpty());

    // 33 materials with a face each: no split can help, so the limit gets its message box.
    std::string many = "*3DSMAX_ASCIIEXPORT\n";
    for (int m = 0; m < 33; ++m)
        many += "*MATERIAL " + std::to_string(m) + " {\n}\n";
    many +=
        "*GEOMOBJECT {\n*MESH {\n*MESH_VERTEX_LIST {\n*MESH_VERTEX\t0\t1\t0\t0\n"
        "*MESH_VERTEX\t1\t0\t1\t0\n*MESH_VERTEX\t2\t0\t0\t1\n}\n*MESH_FACE_LIST {\n";
    for (int m = 0; m < 33; ++m)
        many += "*MESH_FACE " + std::to_string(m) + ": A: 0 B: 1 C: 2 *MESH_MTLID " +
                std::to_string(m) + "\n";
    many += "}\n}\n}\n";
    window_->HandleDroppedFiles({WriteAse("many.ase", many)});
    EXPECT_TRUE(window_->StatusText().startsWith("many.ase: MAX_SURFACES limit exceeded: 33 > 32"))
        << window_->StatusText().toStdString();
    EXPECT_EQ(messages_.size(), 1);
    EXPECT_EQ(window_->ModelKind(), kModelKindNone);

    window_->HandleDroppedFiles({WriteAse("notes.ase", "*COMMENT\n")});
    EXPECT_TRUE(window_->StatusText().startsWith("File is no valid ASE: "));
    EXPECT_FALSE(window_->Busy());

    // A model with joints converts in its bind pose, and the status says so.
    Ms3dBuilder jointed;
    jointed.vertices = {{0, 0, 0}, {8, 0, 0}, {0, 8, 0}};
    jointed.triangles = {{0, 1, 2}};
    jointed.groups = {{"body", {0}}};
    jointed.joints = 2;
    testing_support::WriteBytes(dir_.File("jointed.ms3d"), jointed.Bytes());
    window_->HandleDroppedFiles({QString::fromStdString(dir_.File("jointed.ms3d"))});
    EXPECT_EQ(window_->StatusText(),
              "MS3D loaded and converted to MD3 (jointed.ms3d: 2 joints ignored: the mesh is "
              "converted in its bind pose, without animation)");
}

TEST_F(ImportCommands, AGroupPastTheLimitsIsSplitOnYes) {
    Ms3dBuilder b;
    b.vertices = {{0, 0, 0}, {8, 0, 0}, {0, 8, 0}};
    b.triangles.assign(342, {0, 1, 2});
    b.groups = {{"body", {}}};
    for (std::uint16_t i = 0; i < 342; ++i)
        b.groups[0].triangles.push_back(i);
    testing_support::WriteBytes(dir_.File("big.ms3d"), b.Bytes());
    for (const TAnswer answer : {TAnswer::No, TAnswer::Yes}) {
        QStringList asked;
        window_->Prompts().askYesNo = [&asked, answer](const QString&, const QString& text) {
            asked << text;
            return answer;
        };
        window_->HandleDroppedFiles({QString::fromStdString(dir_.File("big.ms3d"))});
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].startsWith("MAX_VERTS limit exceeded: 1026 > 1024"));
        EXPECT_TRUE(asked[0].endsWith("Split it into several surfaces with the same shader?"));
        EXPECT_EQ(window_->ModelKind(), answer == TAnswer::Yes ? kModelKindMS3D : kModelKindNone);
    }
    EXPECT_EQ(window_->MD3().header.numSurfaces, 2);
    // The question was the limit box: no second box follows it.
    EXPECT_TRUE(messages_.isEmpty());
}

}  // namespace

TEST_F(ImportCommands, ImportOptionsScaleTurnAndPlaceWhatIsImported) {
    std::string textured = kBoxAse;
    textured.insert(textured.find("}\n}\n*GEOMOBJECT"),
                    "*MAP_DIFFUSE {\n*BITMAP \".\\wood.tga\"\n}\n");
    const QString ase = WriteAse("box.ase", textured);
    QString problem;
    QTimer::singleShot(0, [&problem] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* scale = dialog->findChild<QLineEdit*>("importScale");
        scale->selectAll();
        QTest::keyClicks(scale, "none");
        QTest::keyClick(scale, Qt::Key_Return);  // refused: the dialog stays
        problem = dialog->findChild<QLabel*>("importOptionsProblem")->text();
        scale->selectAll();
        QTest::keyClicks(scale, "2");
        QTest::keyClick(dialog->findChild<QComboBox*>("importUp"), Qt::Key_Down);
        QTest::keyClicks(dialog->findChild<QLineEdit*>("importShaderPrefix"), "models/box/");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Action("actionFileImportOptions")->trigger();
    EXPECT_EQ(problem, "The scale must be a number above 0.");

    window_->HandleDroppedFiles({ase});
    const TSurface& surface = window_->MD3().header.surfaces[0];
    // Twice the size, and the file's Y now points up the game's Z.
    std::set<std::array<int, 3>> corners;
    for (const TMD3Vertex& v : surface.vertices)
        corners.insert({v.x, v.y, v.z});
    EXPECT_EQ(corners, (std::set<std::array<int, 3>>{{128, 0, 0}, {0, 0, 128}, {0, -128, 0}}));
    EXPECT_EQ(NameFieldText(surface.shaders[0].name), "models/box/wood");
}
