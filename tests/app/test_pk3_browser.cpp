// The PK3 browser: typing narrows the tree to the files whose path holds the text, the file
// reached with the arrow keys fills the preview pane, and OK loads it.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "app/pk3_dialog.h"
#include "main_window_fixture.h"
#include "model_factory.h"
#include "support/zip_fixture.h"

namespace {

using PK3Browser = MainWindowTest;

QStringList ShownFiles(QTreeWidget* tree) {
    QStringList files;
    for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NoChildren); *it; ++it)
        if (!(*it)->isHidden() && !(*it)->parent()->isHidden()) files << (*it)->text(0);
    return files;
}

TEST_F(PK3Browser, TypingFiltersTheTreeAndTheChosenFileFillsThePreview) {
    ShowAndWait();
    TMD3 model;
    MakeModel(model, {.surfaces = 1, .vertsPerSurface = 24, .frames = 1, .tags = 0});
    ASSERT_TRUE(model.SaveToFile(dir_.File("m.md3")));
    const auto bytes = testing_support::ReadBytes(dir_.File("m.md3"));
    const std::string data(bytes.begin(), bytes.end());
    testing_support::WriteZip(dir_.File("map.pk3"), {{"models/mapobjects/crate.md3", data},
                                                     {"models/mapobjects/barrel.md3", data},
                                                     {"models/props/crane.md3", data}});
    TdlgPK3& browser = window_->PK3Dialog();
    browser.pickArchive = [this](const QString&, const QString&, const QString&) {
        return QString::fromStdString(dir_.File("map.pk3"));
    };
    QStringList afterTyping;
    bool previewShown = false;
    browser.runModal = [&](TdlgPK3& dialog) {
        auto* filter = dialog.findChild<QLineEdit*>("lePK3Filter");
        QTest::keyClicks(filter, "CRA");
        afterTyping = ShownFiles(dialog.Tree());
        QTest::keyClicks(filter, "t");
        // Down moves to the first file left, as a user's arrow key does.
        dialog.Tree()->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(dialog.Tree(), Qt::Key_Down);
        // The entry chosen gets the preview pane's picture or the reason there is none.
        auto* preview = dialog.findChild<QLabel*>("lPK3Preview");
        previewShown = !preview->pixmap().isNull() || !preview->text().isEmpty();
        dialog.findChild<QPushButton*>("OKBtn")->click();
        return dialog.result();
    };
    window_->findChild<QAction*>("actionFileLoadfrommappk3")->trigger();
    EXPECT_EQ(afterTyping, (QStringList{"crate.md3", "crane.md3"}));
    EXPECT_TRUE(previewShown);
    EXPECT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_EQ(window_->windowTitle(), "crate.md3 — Veldra");
}

}  // namespace
