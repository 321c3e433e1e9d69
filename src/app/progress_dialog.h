// Progress of a long command in the window: a modal dialog with Cancel, shown when the work
// lasts, that keeps the window answering (repainting, moving) while the work runs.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>

#include "io/progress.h"

class DialogProgress : public TProgress {
  public:
    DialogProgress(QWidget* parent, const QString& label);

    bool Report(std::uint64_t done, std::uint64_t total) override;
    bool Cancelled() const { return dialog_.wasCanceled(); }

  private:
    QProgressDialog dialog_;
    QElapsedTimer sinceEvents_;
};
