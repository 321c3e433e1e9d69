// Recalculating normals, smoothing the selected surface and welding its near vertices.
#include <QComboBox>
#include <cmath>

#include "app/edit_input.h"
#include "app/main_window.h"
#include "app/model_panels.h"
#include "skeletal/skeletal_edits.h"

void TMainWindow::RecalculateNormalsCommand() {
    SetStatus("");
    // The text is shown for every model, also when there was nothing to do.
    if (IsMD3Family(modelKind_)) {
        for (int s = 0; md3_.ValidSurface(s); ++s)
            md3_.CalculateNormals(s);
    } else if (IsSkeletalFamily(modelKind_) && CurrentFrame() >= 0) {
        RecalculateAllNormals(mdm_, mdx_, static_cast<std::uint32_t>(CurrentFrame()));
    }
    SetStatus("Normals recalculated");
    RedrawView();
}

void TMainWindow::SmoothSurfaceCommand() {
    SetStatus("");
    const int surface = SelectedMD3Surface();
    if (surface < 0) return;
    const QString name = panels_->SurfaceList()->currentText();
    md3_.SmoothSurface(surface);
    panels_->RefreshMD3Panels(modelKind_);
    SetStatus("Surface[\"" + name + "\"] smoothed..");
    RedrawView();
}

void TMainWindow::FixCracksCommand() {
    SetStatus("");
    const int surface = SelectedMD3Surface();
    if (surface < 0) return;
    const QString name = panels_->SurfaceList()->currentText();
    const auto distance =
        AskDecimal(prompts_, "Enter max. distance",
                   "The maximal distance over which vertices will be weld together", "0.15");
    if (!distance) return;
    md3_.WeldVertices(surface, std::abs(distance->value));
    panels_->RefreshMD3Panels(modelKind_);
    SetStatus("Surface[\"" + name + "\"] vertices \"welded\"..");
    RedrawView();
}
