#include "app/lod_panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include "app/panel_widgets.h"
#include "lod/collapse_map.h"
#include "skeletal/mdm.h"

TLodPanel::TLodPanel(QGroupBox* group, QCheckBox* enabled, QLabel* presence, TMDM& mesh)
    : QObject(group), cbLODEnabled_(enabled), tLODpresence_(presence), mesh_(mesh) {
    seLODSurfaceNr_ = new QSpinBox(group);
    seLODSurfaceNr_->setObjectName("seLODSurfaceNr");
    seLODSurfaceNr_->setRange(-1, -1);
    seLODSurfaceNr_->setValue(-1);
    tLODSurfacename_ = new QLabel(group);
    tLODSurfacename_->setObjectName("tLODSurfacename");
    tbLODMinimum_ = new QSlider(Qt::Horizontal, group);
    tbLODMinimum_->setObjectName("tbLODMinimum");
    tbLODMinimum_->setRange(1, 100);
    tbLODMinimum_->setValue(100);
    group->layout()->addWidget(seLODSurfaceNr_);
    group->layout()->addWidget(tLODSurfacename_);
    group->layout()->addWidget(tbLODMinimum_);
    connect(seLODSurfaceNr_, qOverload<int>(&QSpinBox::valueChanged), this,
            &TLodPanel::OnSurfaceChanged);
    connect(tbLODMinimum_, &QSlider::valueChanged, this, &TLodPanel::OnMinimumChanged);
}

void TLodPanel::ResetForLoad() {
    cbLODEnabled_->setChecked(false);
    seLODSurfaceNr_->setRange(-1, -1);
    seLODSurfaceNr_->setValue(-1);
}

void TLodPanel::RefreshFromMesh() {
    const bool lodData = mesh_.HasLodData();
    const bool broken = lodData && !CollapseMapProblem(mesh_).empty();
    tLODpresence_->setText(broken    ? QStringLiteral("broken")
                           : lodData ? QStringLiteral("present")
                                     : QStringLiteral("absent"));
    tLODpresence_->setToolTip(broken ? QString::fromStdString(CollapseMapProblem(mesh_)) : "");
    cbLODEnabled_->setChecked(false);
    const int surfaces = static_cast<int>(mesh_.surfaces.size());
    if (surfaces > 0) {
        const QSignalBlocker block(seLODSurfaceNr_);
        seLODSurfaceNr_->setRange(0, surfaces - 1);
        seLODSurfaceNr_->setValue(0);
    }
    if (lodData) mesh_.LodTableFromMinLod();
    OnSurfaceChanged(seLODSurfaceNr_->value());
}

void TLodPanel::ShowCalculated() {
    tLODpresence_->setText(QStringLiteral("calculated"));
    tLODpresence_->setToolTip("");
    OnSurfaceChanged(seLODSurfaceNr_->value());
}

void TLodPanel::OnSurfaceChanged(int surface) {
    tLODSurfacename_->clear();
    // Surfaces past the 32 entries of the display table have nothing to show or edit.
    if (!mesh_.ValidSurface(surface) || static_cast<std::size_t>(surface) >= mesh_.lod.size()) {
        return;
    }
    tLODSurfacename_->setText(NameText(mesh_.surfaces[static_cast<std::size_t>(surface)].name));
    const TMDMLodEntry& entry = mesh_.lod[static_cast<std::size_t>(surface)];
    {
        const QSignalBlocker block(tbLODMinimum_);
        tbLODMinimum_->setMaximum(entry.vertexCount);
        tbLODMinimum_->setValue(entry.lodMinimum);
    }
    UpdateHint(surface);
}

void TLodPanel::OnMinimumChanged(int position) {
    const int surface = seLODSurfaceNr_->value();
    if (!mesh_.ValidSurface(surface) || static_cast<std::size_t>(surface) >= mesh_.lod.size()) {
        return;
    }
    TMDMSurface& s = mesh_.surfaces[static_cast<std::size_t>(surface)];
    TMDMLodEntry& entry = mesh_.lod[static_cast<std::size_t>(surface)];
    const bool changes = s.minLod != position || entry.lodMinimum != position;
    if (changes && beforeMinimumChange) beforeMinimumChange();
    entry.lodMinimum = position;
    s.minLod = position;
    UpdateHint(surface);
    if (changes) emit minimumChanged();
}

void TLodPanel::UpdateHint(int surface) {
    const TMDMLodEntry& entry = mesh_.lod[static_cast<std::size_t>(surface)];
    tbLODMinimum_->setToolTip(QString::number(entry.lodMinimum) + " of " +
                              QString::number(entry.vertexCount) + " vertices");
}
