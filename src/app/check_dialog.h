// TdlgCheck: what the chosen engine would refuse in the loaded model, the same findings
// `veldra-cli check` prints. The findings are computed again whenever the engine changes.
#pragma once

#include <QDialog>
#include <functional>

#include "check/check_finding.h"
#include "check/engine_limits.h"

class QComboBox;
class QLabel;
class QListWidget;

class TdlgCheck : public QDialog {
    Q_OBJECT
  public:
    // `check` gives the findings of the loaded model for an engine's limits; empty when no
    // model is loaded.
    using CheckFn = std::function<TCheckFindings(const TEngineLimits&)>;
    TdlgCheck(CheckFn check, bool hasModel, QWidget* parent = nullptr);

    QListWidget* Findings() const { return lvCheckFindings_; }
    QComboBox* Engine() const { return cbCheckEngine_; }
    QLabel* Summary() const { return lblCheckSummary_; }

  private:
    void Refresh();

    CheckFn check_;
    bool hasModel_;
    QComboBox* cbCheckEngine_;
    QLabel* lblCheckSummary_;
    QListWidget* lvCheckFindings_;
};
