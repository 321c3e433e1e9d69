// The geometry edits of the "Model" menu: mirroring, normals and winding, rotation, scaling,
// moving the pivot to the origin, tag axes and texture coordinates. None of them marks the
// model as changed; the ones with a status text refresh the panels.
#include <QComboBox>

#include "app/edit_input.h"
#include "app/main_window.h"
#include "app/model_panels.h"

namespace {

// The mirror, normal and winding edits need something to change.
bool HasFramesAndSurfaces(const TMD3& md3) {
    return md3.header.numFrames > 0 && md3.header.numSurfaces > 0;
}

}  // namespace

void TMainWindow::MirrorCommand(int axis) {
    SetStatus("");
    if (!IsMD3Family(document_.kind) || !HasFramesAndSurfaces(document_.md3)) return;
    const int clamped = axis == 0   ? document_.md3.MirrorX()
                        : axis == 1 ? document_.md3.MirrorY()
                                    : document_.md3.MirrorZ();
    panels_->RefreshMD3Panels(document_.kind);
    const char* const texts[3] = {"X-coordinates are flipped..", "Y-coordinates are mirrored..",
                                  "Z-coordinates are mirrored.."};
    SetStatus(QString::fromLatin1(texts[axis]) + ClampedText(clamped));
    RedrawView();
}

void TMainWindow::MirrorNormalsCommand() {
    SetStatus("");
    if (!IsMD3Family(document_.kind) || !HasFramesAndSurfaces(document_.md3)) return;
    document_.md3.MirrorNormals();
    panels_->RefreshMD3Panels(document_.kind);
    SetStatus("Normals are mirrored..");
    RedrawView();
}

void TMainWindow::ReverseWindingCommand() {
    SetStatus("");
    if (!IsMD3Family(document_.kind) || !HasFramesAndSurfaces(document_.md3)) return;
    document_.md3.ReverseWinding();
    panels_->RefreshMD3Panels(document_.kind);
    SetStatus("Triangle windings are reversed..");
    RedrawView();
}

void TMainWindow::RotateCommand(int axis) {
    SetStatus("");
    if (!IsMD3Family(document_.kind)) return;
    const char* const prompts[3] = {"X Degrees", "Y Degrees", "Z Degrees"};
    const auto degrees =
        AskDecimal(prompts_, "Enter the degrees of rotation", QString::fromLatin1(prompts[axis]));
    if (!degrees) return;
    const int clamped = axis == 0   ? document_.md3.RotateX(degrees->value)
                        : axis == 1 ? document_.md3.RotateY(degrees->value)
                                    : document_.md3.RotateZ(degrees->value);
    panels_->RefreshMD3Panels(document_.kind);
    const QString axisName = QString(QChar('X' + axis));
    SetStatus("The model is rotated around the " + axisName + "-axis.." + ClampedText(clamped));
    RedrawView();
}

void TMainWindow::ScaleCommand() {
    SetStatus("");
    if (!IsMD3Family(document_.kind)) return;
    const auto factor = AskDecimal(prompts_, "Enter the scaling factor", "Scaling Factor");
    if (!factor || factor->value == 1.0f) return;
    const int clamped = document_.md3.ScaleModel(factor->value);
    panels_->RefreshMD3Panels(document_.kind);
    SetStatus("Model scaled by factor " + factor->text + ClampedText(clamped));
    ResetAnimationControls();
    if (!view_.lockView) ResetView();
    RedrawView();
}

void TMainWindow::TagAsOriginCommand() {
    SetStatus("");
    const THeader& h = document_.md3.header;
    if (!IsMD3Family(document_.kind) || h.numTags <= 0 || h.numFrames <= 0) return;
    const int entry = cbTagPivots_->currentIndex();
    if (entry < 0) return;
    if (h.tags.size() < static_cast<std::size_t>(h.numFrames) * static_cast<std::size_t>(h.numTags))
        return;
    // The last entry is "origin", whatever number of tag names precede it.
    const int pivot = entry == cbTagPivots_->count() - 1 ? h.numTags : entry;
    const QString entryText = cbTagPivots_->currentText();
    const int clamped = document_.md3.TagAsOrigin(pivot);
    panels_->RefreshMD3Panels(document_.kind);
    SetStatus("The position of the tag[\"" + entryText + "\"] is now the new origin.." +
              ClampedText(clamped));
    RedrawView();
}

void TMainWindow::TagAxesCommand(void (TMD3::*edit)()) {
    if (!IsMD3Family(document_.kind) || document_.md3.header.numFrames <= 0) return;
    (document_.md3.*edit)();
    // The "Tags" tab lists the axes; left alone it would show axes the model no longer has.
    panels_->RefreshMD3Panels(document_.kind);
    RedrawView();
}

void TMainWindow::SwapTexCoordsCommand() {
    if (!IsMD3Family(document_.kind)) return;
    for (int s = 0; document_.md3.ValidSurface(s); ++s)
        document_.md3.FlipTexCoordT(s);
    RedrawView();
}
