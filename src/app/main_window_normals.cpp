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
    if (IsMD3Family(document_.kind)) {
        for (int s = 0; document_.md3.ValidSurface(s); ++s)
            document_.md3.CalculateNormals(s);
    } else if (IsSkeletalFamily(document_.kind) && CurrentFrame() >= 0) {
        RecalculateAllNormals(document_.mdm, document_.mdx,
                              static_cast<std::uint32_t>(CurrentFrame()));
    }
    SetStatus("Normals recalculated");
    RedrawView();
}

void TMainWindow::SmoothSurfaceCommand() {
    SetStatus("");
    const int surface = SelectedMD3Surface();
    if (surface < 0) return;
    const QString name = panels_->SurfaceList()->currentText();
    document_.md3.SmoothSurface(surface);
    panels_->RefreshMD3Panels(document_.kind);
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
    document_.md3.WeldVertices(surface, std::abs(distance->value));
    panels_->RefreshMD3Panels(document_.kind);
    SetStatus("Surface[\"" + name + "\"] vertices \"welded\"..");
    RedrawView();
}
