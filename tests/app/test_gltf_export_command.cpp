// File > "Export As glTF...": the loaded model goes out as a glTF document; a cancelled dialog
// writes nothing.
#include <QMenu>
#include <QMenuBar>

#include "main_window_fixture.h"
#include "model_factory.h"
#include "support/skeletal_square.h"
#include "support/test_files.h"

namespace {

class GltfExportCommand : public MainWindowTest {};

TEST_F(GltfExportCommand, ExportsTheLoadedModelFromTheFileMenu) {
    TMD3 model;
    MakeModel(model, {1, 32, 3, 1, 1});
    ASSERT_TRUE(model.SaveToFile(dir_.File("model.md3")));
    window_->LoadMD3FromFile(QString::fromStdString(dir_.File("model.md3")));
    ASSERT_EQ(window_->ModelKind(), kModelKindMD3);
    QStringList asked;
    QString answer = QString::fromStdString(dir_.File("model.glb"));
    window_->Prompts().saveFile = [&](const QString& title, const QString& filter,
                                      const QString& suffix) {
        asked << title + "|" + filter + "|" + suffix;
        return answer;
    };
    auto* file = window_->menuBar()->findChild<QMenu*>("menuFile");
    ASSERT_NE(file, nullptr);
    QAction* entry = nullptr;
    for (QAction* a : file->actions())
        if (a->text() == "Export As glTF...") entry = a;
    ASSERT_NE(entry, nullptr);

    entry->trigger();
    EXPECT_EQ(asked, QStringList{"Export as glTF|glTF binary (.glb) (*.glb);;glTF (.gltf) "
                                 "(*.gltf)|glb"});
    EXPECT_EQ(window_->StatusText(), "Model exported to file: model.glb");
    const auto bytes = testing_support::ReadBytes(dir_.File("model.glb"));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "glTF");

    answer.clear();
    const std::size_t files = testing_support::FilesIn(dir_.path());
    entry->trigger();
    EXPECT_EQ(testing_support::FilesIn(dir_.path()), files);

    // A player goes out skinned, as text when the name asks for it.
    TMDM mesh;
    TMDX anim;
    testing_support::MakeSquarePair(mesh, anim);
    ASSERT_TRUE(mesh.SaveToFile(dir_.File("pair.mdm")));
    ASSERT_TRUE(anim.SaveToFile(dir_.File("pair.mdx")));
    window_->LoadMDMMDXFromFiles(QString::fromStdString(dir_.File("pair.mdm")),
                                 QString::fromStdString(dir_.File("pair.mdx")));
    ASSERT_EQ(window_->ModelKind(), kModelKindMDMMDX);
    answer = QString::fromStdString(dir_.File("pair.gltf"));
    entry->trigger();
    EXPECT_EQ(window_->StatusText(), "Model exported to file: pair.gltf");
    const auto text = testing_support::ReadBytes(dir_.File("pair.gltf"));
    EXPECT_NE(std::string(text.begin(), text.end()).find("\"skins\""), std::string::npos);
}

}  // namespace
