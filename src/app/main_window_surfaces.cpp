// Removing the selected surface and merging surfaces that share a shader.
#include <QComboBox>

#include "app/main_window.h"
#include "app/model_panels.h"

namespace {

// The view must not draw a surface array that is being rearranged.
class BusyWhile {
  public:
    explicit BusyWhile(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyWhile() { busy_ = false; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

  private:
    bool& busy_;
};

}  // namespace

int TMainWindow::SelectedMD3Surface() const {
    const THeader& h = md3_.header;
    if (!IsMD3Family(modelKind_) || h.numFrames <= 0 || h.numSurfaces <= 0) return -1;
    const int surface = panels_->SelectedSurface();
    return md3_.ValidSurface(surface) ? surface : -1;
}

void TMainWindow::RemoveSurfaceCommand() {
    SetStatus("");
    const int surface = SelectedMD3Surface();
    if (surface < 0) return;
    const QString name = panels_->SurfaceList()->currentText();
    {
        BusyWhile busy(busy_);
        md3_.RemoveSurface(surface);
    }
    panels_->RefreshMD3Panels(modelKind_);
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
