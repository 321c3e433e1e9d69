// Removing the selected surface and merging surfaces that share a shader.
#include <QComboBox>

#include "app/busy_while.h"
#include "app/main_window.h"
#include "app/model_panels.h"

int TMainWindow::SelectedMD3Surface() const {
    const THeader& h = md3_.header;
    if (!IsMD3Family(modelKind_) || h.numFrames <= 0 || h.numSurfaces <= 0) return -1;
    const int surface = panels_->SelectedSurface();
    return md3_.ValidSurface(surface) ? surface : -1;
}

void TMainWindow::RemoveSurfaceCommand() {
    SetStatus("");
    const bool skeletal = IsSkeletalFamily(modelKind_);
    const int surface = skeletal ? SelectedMDMSurface() : SelectedMD3Surface();
    if (surface < 0) return;
    const QString name = panels_->SurfaceList()->currentText();
    {
        BusyWhile busy(busy_);
        skeletal ? mdm_.RemoveSurface(surface) : md3_.RemoveSurface(surface);
    }
    if (skeletal) {
        panels_->RefreshSkeletalPanels(modelKind_);
    } else {
        panels_->RefreshMD3Panels(modelKind_);
    }
    SetStatus("Surface \"" + name + "\" removed..");
    RedrawView();
}

void TMainWindow::CompactSurfacesCommand() {
    SetStatus("");
    const THeader& h = md3_.header;
    if (!IsMD3Family(modelKind_) || h.numFrames <= 0 || h.numSurfaces <= 0) return;
    const int before = h.numSurfaces;
    {
        BusyWhile busy(busy_);
        md3_.CompactSurfaces();
    }
    panels_->RefreshMD3Panels(modelKind_);
    SetStatus(QStringLiteral("Surfaces compacted: from %1 to %2").arg(before).arg(h.numSurfaces));
    RedrawView();
}
