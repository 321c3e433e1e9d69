// Removing the selected surface and merging surfaces that share a shader.
#include <QComboBox>

#include "app/busy_while.h"
#include "app/main_window.h"
#include "app/model_panels.h"

int TMainWindow::SelectedMD3Surface() const {
    const THeader& h = document_.md3.header;
    if (!IsMD3Family(document_.kind) || h.numFrames <= 0 || h.numSurfaces <= 0) return -1;
    const int surface = panels_->SelectedSurface();
    return document_.md3.ValidSurface(surface) ? surface : -1;
}

void TMainWindow::RemoveSurfaceCommand() {
    SetStatus("");
    const bool skeletal = IsSkeletalFamily(document_.kind);
    const int surface = skeletal ? SelectedMDMSurface() : SelectedMD3Surface();
    if (surface < 0) return;
    const QString name = panels_->SurfaceList()->currentText();
    {
        BusyWhile busy(busy_);
        skeletal ? document_.mdm.RemoveSurface(surface) : document_.md3.RemoveSurface(surface);
    }
    if (skeletal) {
        panels_->RefreshSkeletalPanels(document_.kind);
    } else {
        panels_->RefreshMD3Panels(document_.kind);
    }
    SetStatus("Surface \"" + name + "\" removed..");
    // The texturing lists are one entry per surface.
    ResolveSurfaces();
}

void TMainWindow::CompactSurfacesCommand() {
    SetStatus("");
    const THeader& h = document_.md3.header;
    if (!IsMD3Family(document_.kind) || h.numFrames <= 0 || h.numSurfaces <= 0) return;
    const int before = h.numSurfaces;
    {
        BusyWhile busy(busy_);
        document_.md3.CompactSurfaces();
    }
    panels_->RefreshMD3Panels(document_.kind);
    SetStatus(QStringLiteral("Surfaces compacted: from %1 to %2").arg(before).arg(h.numSurfaces));
    ResolveSurfaces();
}
