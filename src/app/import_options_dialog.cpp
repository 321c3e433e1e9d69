#include "app/import_options_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

ImportOptionsDialog::ImportOptionsDialog(const TImportSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName("importOptionsDialog");
    setWindowTitle("Import Options");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    scale_ = new QLineEdit(QString::number(static_cast<double>(settings.scale)));
    scale_->setObjectName("importScale");
    scale_->setToolTip(
        "Multiplies every position before it is rounded to 1/64 unit: scale "
        "small models up so that their triangles survive.");
    form->addRow("&Scale:", scale_);

    up_ = new QComboBox;
    up_->setObjectName("importUp");
    up_->addItems({"Z (as the game)", "Y (stood up onto Z)"});
    up_->setCurrentIndex(settings.yUp ? 1 : 0);
    up_->setToolTip("The axis that points up in the file. MilkShape models are usually Y-up.");
    form->addRow("&Up axis:", up_);

    shaderPrefix_ = new QLineEdit(QString::fromStdString(settings.shaderPrefix));
    shaderPrefix_->setObjectName("importShaderPrefix");
    shaderPrefix_->setPlaceholderText("models/mapobjects/crate/");
    shaderPrefix_->setToolTip("Goes before every shader name that is not a game path already.");
    form->addRow("Shader &prefix:", shaderPrefix_);

    problem_ = new QLabel;
    problem_->setObjectName("importOptionsProblem");
    problem_->hide();
    layout->addWidget(problem_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ImportOptionsDialog::accept() {
    bool number = false;  // QString reads numbers with a point, whatever the locale
    const float scale = scale_->text().trimmed().toFloat(&number);
    if (!number || !(scale > 0.0f) || !std::isfinite(scale)) {
        problem_->setText("The scale must be a number above 0.");
        problem_->show();
        scale_->setFocus();
        scale_->selectAll();
        return;
    }
    settings_.scale = scale;
    settings_.yUp = up_->currentIndex() == 1;
    settings_.shaderPrefix = shaderPrefix_->text().trimmed().toStdString();
    QDialog::accept();
}
