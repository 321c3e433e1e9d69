// The "General" page: the file name and the model header.
#include <QFormLayout>
#include <QLineEdit>
#include <QWidget>

#include "app/model_panels.h"
#include "app/number_text.h"
#include "app/panel_widgets.h"
#include "md3/md3.h"

void TModelPanels::BuildGeneralPage() {
    generalPage_ = NamedWidget(new QWidget, "tsGeneral");
    auto* form = new QFormLayout(generalPage_);
    leName_ = AddField(form, "leName", QStringLiteral("FilePath"));
    leHeaderIdent_ = AddField(form, "leHeaderIdent", QStringLiteral("Ident"));
    leVersion_ = AddField(form, "leVersion", QStringLiteral("Version"));
    leHeaderName_ = AddField(form, "leHeaderName", QStringLiteral("Name"));
    leHeaderFlags_ = AddField(form, "leHeaderFlags", QStringLiteral("Flags"));
}

void TModelPanels::FillGeneral() {
    const THeader& header = md3_.header;
    leHeaderIdent_->setText(NameText(header.ident));
    leVersion_->setText(QString::number(header.version));
    leHeaderName_->setText(NameText(header.name));
    leHeaderFlags_->setText(QString::fromStdString(FlagsText(header.flags)));
}
