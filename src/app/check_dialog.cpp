#include "app/check_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TdlgCheck::TdlgCheck(CheckFn check, bool hasModel, QWidget* parent)
    : QDialog(parent), check_(std::move(check)), hasModel_(hasModel) {
    setObjectName("dlgCheck");
    setWindowTitle("Check Model");
    cbCheckEngine_ = new QComboBox(this);
    cbCheckEngine_->setObjectName("cbCheckEngine");
    cbCheckEngine_->addItem("Enemy Territory", "et");
    cbCheckEngine_->addItem("ET: Legacy", "etlegacy");
    cbCheckEngine_->addItem("ioquake3", "ioq3");
    lblCheckSummary_ = new QLabel(this);
    lblCheckSummary_->setObjectName("lblCheckSummary");
    lvCheckFindings_ = new QListWidget(this);
    lvCheckFindings_->setObjectName("lvCheckFindings");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* engineRow = new QHBoxLayout;
    auto* engineLabel = new QLabel("Engine:", this);
    engineLabel->setBuddy(cbCheckEngine_);
    engineRow->addWidget(engineLabel);
    engineRow->addWidget(cbCheckEngine_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(engineRow);
    layout->addWidget(lblCheckSummary_);
    layout->addWidget(lvCheckFindings_, 1);
    layout->addWidget(buttons);
    resize(560, 360);

    connect(cbCheckEngine_, &QComboBox::currentIndexChanged, this, &TdlgCheck::Refresh);
    Refresh();
}

void TdlgCheck::Refresh() {
    lvCheckFindings_->clear();
    if (!hasModel_) {
        lblCheckSummary_->setText("No model loaded.");
        return;
    }
    const std::string name = cbCheckEngine_->currentData().toString().toStdString();
    const TEngineLimits& limits = LimitsOf(EngineNamed(name).value_or(TEngine::ET));
    const TCheckFindings findings = check_(limits);
    for (const TCheckFinding& finding : findings)
        lvCheckFindings_->addItem(QString::fromStdString(FindingText(finding)));
    lblCheckSummary_->setText(
        findings.empty()
            ? QString("No findings: %1 accepts the model.").arg(cbCheckEngine_->currentText())
            : QString("%1 finding(s).").arg(findings.size()));
}
