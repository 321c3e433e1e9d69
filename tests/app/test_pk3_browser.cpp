// The PK3 browser: typing narrows the tree to the files whose path holds the text, and the
// file chosen is previewed, drawn by the offscreen renderer.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "app/pk3_dialog.h"
#include "app/pk3_preview.h"
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

TEST_F(PK3Browser, TypingFiltersTheTreeAndTheChosenModelIsPreviewed) {
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
    bool previewed = false;  // the model covers part of the picture
    browser.runModal = [&](TdlgPK3& dialog) {
        auto* filter = dialog.findChild<QLineEdit*>("lePK3Filter");
        QTest::keyClicks(filter, "CRA");
        afterTyping = ShownFiles(dialog.Tree());
        QTest::keyClicks(filter, "t");
        // Down moves to the first file left, as a user's arrow key does.
        dialog.Tree()->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(dialog.Tree(), Qt::Key_Down);
        dialog.show();
        QTest::qWait(20);
        const QImage picture = dialog.findChild<QLabel*>("lPK3Preview")->pixmap().toImage();
        int drawn = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                drawn += qAlpha(picture.pixel(x, y)) > 0;
        previewed = drawn > 100;
        if (!previewed) picture.save("/tmp/desk-preview.png");
        dialog.findChild<QPushButton*>("OKBtn")->click();
        return dialog.result();
    };
    window_->findChild<QAction*>("actionFileLoadfrommappk3")->trigger();
    EXPECT_EQ(afterTyping, (QStringList{"crate.md3", "crane.md3"}));
    EXPECT_TRUE(previewed);
    {
        const TPK3Preview direct = PreviewArchiveEntry(dir_.File("map.pk3"), "models/mapobjects/crate.md3", dir_.File("pv/"), 64);
        int a = 0, c = 0;
        for (int y = 0; y < direct.picture.height(); ++y)
            for (int x = 0; x < direct.picture.width(); ++x) {
                a += qAlpha(direct.picture.pixel(x, y)) > 0;
                c += (direct.picture.pixel(x, y) & 0xFFFFFF) != 0;
            }
        ADD_FAILURE() << direct.note.toStdString() << " " << direct.picture.width() << " a=" << a << " c=" << c;
    }
    EXPECT_EQ(window_->StatusText(), "MD3 loaded");
    EXPECT_EQ(window_->windowTitle(), "crate.md3 — Veldra");
}

}  // namespace
