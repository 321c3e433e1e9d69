#include "app/progress_dialog.h"

#include <QCoreApplication>

namespace {

// Events are handled at most this often: the window stays responsive, and the work is not
// slowed by handling them after every step.
constexpr qint64 kEventIntervalMs = 50;
// The dialog appears only for work that lasts longer than this.
constexpr int kShowAfterMs = 400;
// QProgressDialog counts in int: large totals are scaled to this range.
constexpr std::uint64_t kSteps = 1000;

}  // namespace

DialogProgress::DialogProgress(QWidget* parent, const QString& label)
    : parent_(parent), label_(label) {}

void DialogProgress::StartDialog() {
    dialog_ =
        std::make_unique<QProgressDialog>(label_, "Cancel", 0, static_cast<int>(kSteps), parent_);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
    sinceEvents_.start();
}

bool DialogProgress::Report(std::uint64_t done, std::uint64_t total) {
    if (dialog_ == nullptr) StartDialog();
    // The last step always gets through: it closes the dialog before what follows the work.
    if (done < total && sinceEvents_.elapsed() < kEventIntervalMs) return !dialog_->wasCanceled();
    sinceEvents_.restart();
    const std::uint64_t step =
        total == 0 ? kSteps : (done >= total ? kSteps : done * kSteps / total);
    // setValue handles the pending events of a modal dialog itself.
    dialog_->setValue(static_cast<int>(step));
    QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}
