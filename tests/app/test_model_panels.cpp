#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include "app/model_panels.h"
#include "md3/md3.h"
#include "model_factory.h"
#include "render/scene_settings.h"

namespace {

class ModelPanelsTest : public ::testing::Test {
  protected:
    ModelPanelsTest()
        : viewTab(new QWidget),
          helpTab(new QWidget),
          pivots(new QComboBox(viewTab)),
          lod(new QGroupBox(viewTab)),
          lodPresence(new QLabel(QStringLiteral("info"), lod)),
          panels(&tabs, viewTab, helpTab, pivots, md3) {
        lod->setObjectName("gbLOD");
        lodPresence->setObjectName("tLODpresence");
    }

    template <typename T>
    T* Find(const char* name) {
        T* widget = tabs.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* List(const char* name) { return Find<QComboBox>(name); }
    QString Field(const char* name) { return Find<QLineEdit>(name)->text(); }

    void Load(const ModelShape& shape) {
        MakeModel(md3, shape);
        panels.ShowTabsOfFamily(kModelKindMD3);
        panels.RefreshMD3Panels(kModelKindMD3);
    }

    QStringList VisibleTabs() {
        QStringList names;
        for (int i = 0; i < tabs.count(); ++i)
            if (tabs.isTabVisible(i)) names << tabs.tabText(i);
        return names;
    }

    // What the user does to rename: choose the entry, edit its text, press Enter.
    void Rename(int surface, const QString& text) {
        QComboBox* list = List("cbNamesSurfaces");
        list->setCurrentIndex(surface);
        emit list->activated(surface);
        PressEnter(list, text);
    }
    // Keys go to the list, as they do from the keyboard: the list holds the focus, not its
    // edit. The text typed over the whole entry is the name of another surface when `text`
    // is one, which the list must not take as a choice of that surface.
    void PressEnter(QComboBox* list, const QString& text) {
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(list, text);
        QTest::keyClick(list, Qt::Key_Return);
    }

    TMD3 md3;
    QTabWidget tabs;
    QWidget* viewTab;
    QWidget* helpTab;
    QComboBox* pivots;
    QGroupBox* lod;
    QLabel* lodPresence;
    TModelPanels panels;
};

const char* const kFrameLists[] = {"cbNamesFrames", "cbBBMinFrames", "cbBBMaxFrames",
                                   "cbOriginFrames", "cbRadiusFrames"};

TEST_F(ModelPanelsTest, TabsPerFamily) {
    EXPECT_EQ(tabs.count(), 7);
    EXPECT_EQ(tabs.tabText(5), "View");
    EXPECT_EQ(tabs.tabText(6), "Help");
    EXPECT_EQ(VisibleTabs(), QStringList{"View"});

    panels.ShowHelpOnly();
    EXPECT_TRUE(panels.HelpOnlyShowing());
    EXPECT_EQ(VisibleTabs(), QStringList{"Help"});
    EXPECT_EQ(panels.CurrentPage(), helpTab);

    panels.ShowTabsOfFamily(kModelKindMS3D);
    EXPECT_FALSE(panels.HelpOnlyShowing());
    EXPECT_EQ(VisibleTabs(), (QStringList{"General", "Animation", "Tags", "Surfaces", "View"}));
    EXPECT_EQ(panels.CurrentPage(), viewTab);
    EXPECT_FALSE(lod->isEnabled());

    tabs.setCurrentIndex(0);
    panels.ShowTabsOfFamily(kModelKindMDS);
    EXPECT_EQ(VisibleTabs(), (QStringList{"Surfaces", "Bones", "View"}));
    EXPECT_EQ(panels.CurrentPage(), viewTab);
    EXPECT_TRUE(lod->isEnabled());

    panels.ShowTabsOfFamily(kModelKindNone);
    EXPECT_EQ(VisibleTabs(), QStringList{"View"});
    EXPECT_FALSE(lod->isEnabled());
}

TEST_F(ModelPanelsTest, RefreshFillsGeneralFramesAndPivots) {
    MakeModel(md3, {.surfaces = 2, .frames = 3, .tags = 2});
    md3.header.flags = 255;
    panels.NameField()->setText("/models/a.md3");
    panels.RefreshMD3Panels(kModelKindMD3);

    EXPECT_EQ(Field("leHeaderIdent"), "IDP3");
    EXPECT_EQ(Field("leVersion"), "15");
    EXPECT_EQ(Field("leHeaderName"), "models/generated/model.md3");
    EXPECT_EQ(Field("leHeaderFlags"), "000000FFh");
    EXPECT_EQ(Field("leNumFrames"), "3");
    EXPECT_EQ(Field("leNumTags"), "2");
    EXPECT_EQ(Field("leNumSurfaces"), "2");
    // The load command owns the file name; a refresh after an edit must keep it.
    EXPECT_EQ(Field("leName"), "/models/a.md3");
    EXPECT_EQ(lodPresence->text(), "");

    for (const char* name : kFrameLists) {
        EXPECT_EQ(List(name)->count(), 3) << name;
        EXPECT_EQ(List(name)->currentIndex(), 0) << name;
    }
    EXPECT_EQ(List("cbNamesFrames")->itemText(2), "2: frame2");
    md3.header.frames[1].minBounds = {-1.5f, 0.1f, 2.0f};
    panels.RefreshMD3Panels(kModelKindMD3);
    EXPECT_EQ(List("cbBBMinFrames")->itemText(1), "-1.5  0.1  2");

    EXPECT_EQ(pivots->count(), 3);
    EXPECT_EQ(pivots->itemText(0), "tag_0");
    EXPECT_EQ(pivots->itemText(1), "tag_1");
    EXPECT_EQ(pivots->currentText(), "origin");

    List("cbOriginFrames")->setCurrentIndex(2);
    for (const char* name : kFrameLists)
        EXPECT_EQ(List(name)->currentIndex(), 2) << name;
}

TEST_F(ModelPanelsTest, EmptyingAndOtherFamiliesLeaveNothingBehind) {
    Load({.frames = 3, .tags = 2});
    panels.EmptyPanels();
    for (const char* name : kFrameLists)
        EXPECT_EQ(List(name)->count(), 0) << name;
    for (const char* name : {"cbNamesTags", "cbTagOrigins", "cbNamesSurfaces", "cbNamesShaders"})
        EXPECT_EQ(List(name)->count(), 0) << name;
    for (const char* name : {"leNumFrames", "leNumTags", "leNumSurfaces", "leNumShaders",
                             "leNumVerts", "leNumTriangles"})
        EXPECT_EQ(Field(name), "0") << name;
    EXPECT_EQ(Field("leHeaderIdent"), "");
    EXPECT_EQ(Field("leSurfaceFlags"), "");
    EXPECT_EQ(pivots->count(), 0);

    // A skeletal kind gets no MD3 content even while the MD3 model still holds data.
    panels.RefreshMD3Panels(kModelKindMDMMDX);
    EXPECT_EQ(List("cbNamesFrames")->count(), 0);
    EXPECT_EQ(pivots->count(), 0);
}

TEST_F(ModelPanelsTest, TagListsStayOnTheSameTagAndFrame) {
    Load({.frames = 3, .tags = 2});
    QComboBox* names = List("cbNamesTags");
    QComboBox* frames = List("cbTagFrameNr");
    QComboBox* origins = List("cbTagOrigins");
    QComboBox* axes = List("cbTagAxis");
    EXPECT_EQ(names->count(), 2);
    EXPECT_EQ(frames->count(), 3);
    EXPECT_EQ(origins->count(), 6);
    EXPECT_EQ(axes->count(), 6);
    for (QComboBox* list : {names, frames, origins, axes})
        EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_TRUE(names->isEnabled());
    EXPECT_TRUE(frames->isEnabled());
    EXPECT_EQ(axes->toolTip(), "Axis Vectors: (X,Y,Z)\n" + axes->itemText(0));
    EXPECT_EQ(axes->itemText(0), "(1  0  0)    (0  1  0)    (0  0  1)");
    EXPECT_EQ(origins->itemText(5), "1  0.5  1");

    axes->setCurrentIndex(5);
    EXPECT_EQ(names->currentIndex(), 1);
    EXPECT_EQ(frames->currentIndex(), 2);
    EXPECT_EQ(origins->currentIndex(), 5);

    origins->setCurrentIndex(2);
    EXPECT_EQ(names->currentIndex(), 0);
    EXPECT_EQ(frames->currentIndex(), 1);
    EXPECT_EQ(axes->currentIndex(), 2);

    frames->setCurrentIndex(2);
    EXPECT_EQ(origins->currentIndex(), 4);
    names->setCurrentIndex(1);
    EXPECT_EQ(axes->currentIndex(), 5);

    Load({.frames = 1, .tags = 2});
    EXPECT_TRUE(List("cbNamesTags")->isEnabled());
    EXPECT_FALSE(List("cbTagFrameNr")->isEnabled());
    Load({.frames = 3, .tags = 0});
    EXPECT_FALSE(List("cbNamesTags")->isEnabled());
    EXPECT_FALSE(List("cbTagFrameNr")->isEnabled());
    EXPECT_EQ(pivots->count(), 1);
    EXPECT_EQ(pivots->currentText(), "origin");
}

TEST_F(ModelPanelsTest, SurfaceDetailsFollowTheSelectedSurface) {
    Load({.surfaces = 2, .vertsPerSurface = 32, .shadersPerSurface = 2});
    md3.header.surfaces[1].flags = 0x1A;
    md3.header.surfaces[1].numVerts = 16;
    panels.RefreshMD3Panels(kModelKindMD3);
    std::vector<int> selected;
    QObject::connect(&panels, &TModelPanels::surfaceSelected,
                     [&](int surface) { selected.push_back(surface); });

    QComboBox* surfaces = List("cbNamesSurfaces");
    EXPECT_EQ(surfaces->count(), 2);
    EXPECT_EQ(panels.SelectedSurface(), 0);
    EXPECT_EQ(List("cbNamesShaders")->itemText(1), "textures/sample/surface0_1");

    surfaces->setCurrentIndex(1);
    EXPECT_EQ(selected, std::vector<int>{1});
    EXPECT_EQ(List("cbNamesShaders")->count(), 2);
    EXPECT_EQ(List("cbNamesShaders")->currentText(), "textures/sample/surface1_0");
    EXPECT_EQ(Field("leNumShaders"), "2");
    EXPECT_EQ(Field("leNumVerts"), "16");
    EXPECT_EQ(Field("leSurfaceFlags"), "0000001Ah");
    // Texturing fills these; the model alone has nothing for them.
    EXPECT_EQ(Field("leSkin"), "");
    EXPECT_EQ(List("cbShaderTextures")->count(), 0);

    std::vector<QString> entered;
    QObject::connect(&panels, &TModelPanels::shaderNameEntered,
                     [&](int surface, const QString& text) {
                         entered.push_back(QString::number(surface) + ":" + text);
                     });
    PressEnter(List("cbNamesShaders"), "textures/new");
    EXPECT_EQ(entered, std::vector<QString>{"1:textures/new"});
    EXPECT_EQ(List("cbNamesShaders")->count(), 2);
}

TEST_F(ModelPanelsTest, RenamingStoresSixtyFourCharactersOfTheChosenSurface) {
    Load({.surfaces = 3});
    std::vector<int> renamed;
    QObject::connect(&panels, &TModelPanels::surfaceRenamed,
                     [&](int surface) { renamed.push_back(surface); });

    const QString longName = QString(70, QLatin1Char('n'));
    Rename(1, longName);
    EXPECT_EQ(NameFieldText(md3.header.surfaces[1].name), std::string(64, 'n'));
    EXPECT_EQ(NameFieldText(md3.header.surfaces[0].name), "surface0");
    EXPECT_EQ(renamed, std::vector<int>{1});
    QComboBox* surfaces = List("cbNamesSurfaces");
    EXPECT_EQ(surfaces->count(), 3);
    EXPECT_EQ(surfaces->currentIndex(), 1);
    EXPECT_EQ(surfaces->currentText(), longName.left(64));

    // The remembered surface stays chosen for a second rename.
    PressEnter(surfaces, "body");
    EXPECT_EQ(NameFieldText(md3.header.surfaces[1].name), "body");
    // Another surface's name renames the chosen one; it does not choose the other.
    PressEnter(surfaces, "surface2");
    EXPECT_EQ(NameFieldText(md3.header.surfaces[1].name), "surface2");
    EXPECT_EQ(NameFieldText(md3.header.surfaces[2].name), "surface2");
    EXPECT_EQ(surfaces->currentIndex(), 1);

    // A refresh forgets the choice: Enter then renames nothing.
    panels.RefreshMD3Panels(kModelKindMD3);
    PressEnter(surfaces, "other");
    EXPECT_EQ(NameFieldText(md3.header.surfaces[0].name), "surface0");
    EXPECT_EQ(renamed.size(), 3u);
}

TEST_F(ModelPanelsTest, BonesHangUnderTheirParents) {
    panels.FillBonesTree({{"root", -1},
                          {"a", 0},
                          {"b", 0},
                          {"c", 1},
                          {"d", 3},
                          {"e", 6},
                          {"f", 0},
                          {"g", 7},
                          {"h", 99}});
    QTreeWidget* tree = Find<QTreeWidget>("tvBones");
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->childCount(), 3);  // a, b, f
    QTreeWidgetItem* c = root->child(0)->child(0);
    ASSERT_EQ(c->text(0), "c");
    // Parent index 3 is the fourth node created.
    ASSERT_EQ(c->childCount(), 1);
    EXPECT_EQ(c->child(0)->text(0), "d");
    // A parent listed after its child still takes it.
    EXPECT_EQ(root->child(2)->text(0), "f");
    EXPECT_EQ(root->child(2)->child(0)->text(0), "e");
    // g points at itself through a loop (7 is g), h outside the list: roots, shown once.
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "g");
    EXPECT_EQ(tree->topLevelItem(2)->text(0), "h");
    EXPECT_EQ(root->child(1)->childCount(), 0);

    panels.RefreshSkeletalPanels(kModelKindMDMMDX);
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

}  // namespace
