// The 3-D view: drawing, the mouse and the wheel, the view switches, sky box and colours,
// gamma, screenshots and the Help tab.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <charconv>

#include "app/gl_view_widget.h"
#include "app/main_window.h"
#include "app/model_panels.h"
#include "app/view_switch_pair.h"
#include "render/gl/sky_box.h"
#include "render/screenshot_file.h"
#include "render/skeletal_view.h"
#include "render/view_control.h"

namespace {

// "1" for 1.0, "2.5" for 2.5: the shortest text that reads back as the value.
QString ShortestNumber(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

}  // namespace

bool TMainWindow::ViewShown() const {
    return glView_ != nullptr && glView_->isVisibleTo(this) && !isMinimized();
}

TSceneModel TMainWindow::SceneModel() {
    TSceneModel scene;
    scene.modelKind = document_.kind;
    scene.md3 = &document_.md3;
    scene.mdm = &document_.mdm;
    scene.mdx = &document_.mdx;
    scene.attachments = &document_.attachments;
    scene.currentFrame = CurrentFrame();
    scene.shaderTime = shaderClock_.Seconds();
    const int pivot = cbTagPivots_->currentIndex();
    const int tags = IsSkeletalFamily(document_.kind) ? static_cast<int>(document_.mdm.tags.size())
                                                      : document_.md3.header.numTags;
    scene.pivotTag = pivot >= 0 && pivot < tags ? pivot : -1;
    if (md3LevelShown_ > 0 && IsMD3Family(document_.kind)) {
        scene.md3 = &md3Level_;
        scene.md3Shaders = &md3LevelShaders_;
        // What the game shows of a level for a frame or tag it lacks.
        if (scene.currentFrame >= md3Level_.header.numFrames) scene.currentFrame = 0;
        if (scene.pivotTag >= md3Level_.header.numTags) scene.pivotTag = -1;
    }
    return scene;
}

void TMainWindow::DrawFrame() {
    renderer_.RedrawView(view_, switches_, colours_, SceneModel(), ViewShown(), busy_);
    ogl_.CountFrame();
    emit frameDrawn();
}

void TMainWindow::RedrawView() {
    if (glView_ != nullptr) glView_->update();
}

std::optional<TBounds> TMainWindow::ModelBounds() {
    if (IsMD3Family(document_.kind)) return MD3FrameZeroBounds(document_.md3);
    if (!IsSkeletalFamily(document_.kind)) return std::nullopt;
    TSkeletalPoser& poser = renderer_.SkeletalDrawer().Poser();
    std::optional<TBounds> bounds = SkeletalFrameBounds(document_.mdm, document_.mdx, 0, poser);
    // A character is fitted whole, helmet and weapons included.
    if (!bounds || document_.attachments.empty() || !switches_.showAttachments) return bounds;
    const auto placed =
        PlaceOnPosedBody(document_.attachments, document_.mdm, document_.mdx, 0, poser);
    for (const TVector3& p : AttachedVertexPositions(document_.attachments, placed))
        Enclose(*bounds, p);
    return bounds;
}

void TMainWindow::ResetView() {
    ::ResetView(view_, ogl_.Camera(), ogl_.IsReady(), ModelBounds());
    // Fitted, the model is turned to the view the user chose to open models in.
    if (OpeningView() != TViewPreset::Top && !view_.lockView) ApplyViewPreset(view_, OpeningView());
    RedrawView();
}

void TMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) RedrawView();
    QMainWindow::changeEvent(event);
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != glView_) return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint p = mouse->position().toPoint();
            TMouseMove move;
            move.x = p.x();
            move.y = p.y();
            // A press only records where the drag starts.
            if (event->type() == QEvent::MouseMove) {
                move.leftButton = mouse->buttons().testFlag(Qt::LeftButton);
                move.rightButton = mouse->buttons().testFlag(Qt::RightButton);
                move.shift = mouse->modifiers().testFlag(Qt::ShiftModifier);
                move.ctrl = mouse->modifiers().testFlag(Qt::ControlModifier);
            }
            MouseMove(view_, ogl_.Camera(), move);
            break;
        }
        case QEvent::MouseButtonDblClick:
            if (!view_.lockView) ResetView();
            return true;
        case QEvent::Wheel: {
            if (view_.lockView) break;
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->angleDelta().y() == 0) break;
            WheelZoom(view_, ogl_.Camera(), wheel->angleDelta().y() < 0);
            RedrawView();
            return true;
        }
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::OnTabChanged(int) {
    statusBar()->setFocus();
}

void TMainWindow::OnPivotChosen(int index) {
    if (view_.lockView) return;
    if (IsMD3Family(document_.kind)) {
        SelectMD3TagPivot(view_, document_.md3, index);
    } else {
        view_.rotationMatrix = MatrixIdentity();
        view_.rotationAngles = kVectorZero;
        view_.pan = kVectorZero;
    }
    statusBar()->setFocus();
    RedrawView();
}

void TMainWindow::OnSwitchChanged(const QString& name, bool on) {
    if (name == "cbLightingEnabled") {
        switches_.lighting = on;
        RedrawView();
    } else if (name == "cbShowTags") {
        switches_.showTags = on;
    } else if (name == "cbShowSkeleton") {
        switches_.showSkeleton = on;
    } else if (name == "cbShowNormals") {
        switches_.showNormals = on;
    } else if (name == "cbWireframe") {
        switches_.wireframe = on;
    } else if (name == "cbTwoSided") {
        switches_.twoSided = on;
    } else if (name == "cbSmoothFlat") {
        switches_.flatShading = on;
    } else if (name == "cbShowGroundplane") {
        switches_.showGroundplane = on;
    } else if (name == "cbShowAxis") {
        switches_.showAxis = on;
    } else if (name == "cbCenterModel") {
        switches_.centerModel = on;
        if (on) ResetView();
    } else if (name == "cbMouseControl") {
        switches_.mouseControlType2 = on;
        const QString caption =
            QString::fromStdString(MouseControlCaption("Mouse Control Type", on));
        for (const auto& pair : switchPairs_) {
            if (pair->Box()->objectName() == name) pair->SetCaption(caption);
        }
    } else if (name == "cbAlphaPreview") {
        switches_.alphaPreview = on;
    }
}

void TMainWindow::SetSkyBoxShown(bool shown) {
    ogl_.SkyBox().SetSkyBoxShown(shown);
    menuViewSkycolors_->setEnabled(!shown);
    RedrawView();
}

void TMainWindow::ChooseSkyColour(bool top) {
    if (!prompts_.chooseColour) return;
    std::uint32_t& colour = top ? colours_.skyTop : colours_.skyBottom;
    if (const auto chosen = prompts_.chooseColour(colour)) {
        colour = *chosen;
        UpdateColourIcons();
        RedrawView();
    }
}

void TMainWindow::ColourConvert() {
    if (!prompts_.chooseColour) return;
    if (const auto chosen = prompts_.chooseColour(convertColour_)) {
        convertColour_ = *chosen;
        colours_.screenshotBackground = convertColour_;
        menuToolsColorconvertRadiant_->setText(
            QString::fromStdString(ColorConvertCaption(convertColour_)));
        UpdateColourIcons();
    }
}

void TMainWindow::ChooseGamma(float gamma) {
    gamma_ = gamma;
    for (const auto& [value, item] : gammaItems_)
        item->setChecked(value == gamma);
    if (ogl_.IsReady()) {
        ogl_.MakeCurrent();
        ReloadStageTextures(shaders_, textures_, static_cast<float>(gamma_));
    }
    SetStatus("Software Gamma set to: " + ShortestNumber(gamma));
    RedrawView();
}

void TMainWindow::TakeScreenshot() {
    if (!ViewShown() || !ogl_.IsReady()) return;
    const QString folder = ScreenshotFolder();
    const TScreenshotResult result = renderer_.TakeScreenshot(
        view_, switches_, colours_, SceneModel(), true, folder.toStdString());
    QString status = QString::fromStdString(result.statusText);
    // The whole path: the name alone does not say where the picture went.
    if (result.saved)
        status = "Screenshot saved into file: " + folder +
                 QString::fromStdString(ScreenshotFileName(result.number));
    SetStatus(status);
    RedrawView();
}

void TMainWindow::ToggleHelp() {
    if (panels_->HelpOnlyShowing()) {
        ShowFamily();
    } else {
        panels_->ShowHelpOnly();
    }
}
