#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include "app/check_dialog.h"
#include "main_window_fixture.h"

// Tools > Check Model... lists the loaded model's findings for the engine chosen, the same
// ones `veldra-cli check` gives.
TEST_F(MainWindowTest, CheckModelDialogListsTheFindingsOfEachEngine) {
    VELDRA_REQUIRE_SAMPLES("md3");
    window_->LoadMD3FromFile(QString::fromStdString(SampleMD3("bbout.md3")));
    QAction* action = window_->findChild<QAction*>("menuToolsCheckModel");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "Check Model...");

    std::vector<int> counts;
    QString summary;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TdlgCheck*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        for (int engine = 0; engine < dialog->Engine()->count(); ++engine) {
            dialog->Engine()->setCurrentIndex(engine);
            counts.push_back(dialog->Findings()->count());
        }
        summary = dialog->Summary()->text();
        dialog->reject();
    });
    action->trigger();
    // ET and ioquake3 refuse its 1584-vertex surface; ET: Legacy takes up to 10000.
    EXPECT_EQ(counts, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(summary, "1 finding(s).");
}
