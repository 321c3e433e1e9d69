// "Import Options...": what MilkShape and 3ds Max imports apply before the positions are
// rounded to the model's grid — a scale, which way is up, and the folder shader names go in.
#pragma once

#include <QDialog>

#include "import/import_settings.h"

class QComboBox;
class QLabel;
class QLineEdit;

class ImportOptionsDialog : public QDialog {
  public:
    ImportOptionsDialog(const TImportSettings& settings, QWidget* parent);
    // The settings as entered; valid after the dialog was accepted.
    TImportSettings Settings() const { return settings_; }

  protected:
    void accept() override;

  private:
    TImportSettings settings_;
    QLineEdit* scale_;
    QComboBox* up_;
    QLineEdit* shaderPrefix_;
    QLabel* problem_;
};
