// Progress of a long command in the window: a modal dialog with Cancel, shown when the work
// lasts, that keeps the window answering (repainting, moving) while the work runs.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>
#include <memory>

#include "io/progress.h"

class DialogProgress : public TProgress {
  public:
    DialogProgress(QWidget* parent, const QString& label);

    bool Report(std::uint64_t done, std::uint64_t total) override;
    bool Cancelled() const { return dialog_ != nullptr && dialog_->wasCanceled(); }

  private:
    // Made by the first report: a command may still ask its questions before the work
    // starts, and a dialog made earlier would open over them and block them.
    void StartDialog();

    QWidget* parent_;
    QString label_;
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceEvents_;
};
