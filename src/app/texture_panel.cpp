#include "app/texture_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>
#include <cmath>

#include "app/model_panels.h"
#include "app/panel_widgets.h"
#include "image/image_gamma.h"
#include "image/texture_image.h"
#include "io/file_error.h"
#include "shader/shader_flags.h"

namespace {

constexpr int kPreviewSide = 128;
// What shows through a transparent texel in the preview.
const QColor kAlphaBackground(224, 223, 227);

QString CullText(std::uint8_t cull) {
    return cull == kCullFront ? "front" : cull == kCullBack ? "back" : "none";
}

}  // namespace

QString ResolutionPath(std::uint32_t flags) {
    if (flags == 0) return {};
    QStringList markers;
    if (flags & kShaderNameFromSkin) markers << "Skin";
    if (flags & kShaderFromShaderList) {
        markers << "Shader list";
    } else if ((flags & kShaderFoundInGame) && (flags & kShaderFoundInArchive)) {
        markers << "Game PAK";
    } else if (flags & kShaderFoundInGame) {
        markers << "Game folder";
    } else if (flags & kShaderFoundInArchive) {
        markers << "Map PK3";
    } else {
        markers << "Model folder";
    }
    if (flags & kShaderFoundInScript) {
        markers << "Shader script"
                << "Texture";
    } else if (flags & kShaderImageFound) {
        markers << "Image";
    }
    return markers.join(QString::fromUtf8(" → "));
}

TTexturePanel::TTexturePanel(TModelPanels& panels, const TShaders& shaders, QObject* parent)
    : QObject(parent), shaders_(shaders), panels_(panels) {
    auto* form = qobject_cast<QFormLayout*>(panels.SurfacesPage()->layout());
    cbShaderList_ = AddList(form, "cbShaderList", "Shader list");
    SetListTip(cbShaderList_, "Shader scripts whose shaders win over the game's (Texturing menu)");
    cbShaderFile_ = AddList(form, "cbShaderFile", "Shader file");
    cbShaderNameFound_ = AddList(form, "cbShaderNameFound", "Shader found");
    leSkinFile_ = AddField(form, "leSkinFile", "Skin file");
    form_ = form;
    lstMissingTextures_ = NamedWidget(new QListWidget, "lstMissingTextures");
    lstMissingTextures_->setToolTip(
        "Surfaces drawn without their textures: the shader each "
        "names and the image files looked for in the game");
    // A line names whole paths: it wraps rather than hiding its end. A few lines are enough
    // to see that something is missing; the list scrolls for more.
    lstMissingTextures_->setWordWrap(true);
    lstMissingTextures_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstMissingTextures_->setMaximumHeight(lstMissingTextures_->fontMetrics().height() * 6 +
                                          2 * lstMissingTextures_->frameWidth());
    form->addRow("Missing textures", lstMissingTextures_);
    // The stage's preview goes beside the shader's properties, so the page stays short
    // enough for the window.
    auto* properties = panels.SurfacesPage()->findChild<QWidget*>("pShaderProps");
    // The layout hands over the row's items, not the widget: they are ours to delete.
    const QFormLayout::TakeRowResult taken = form->takeRow(properties);
    delete taken.labelItem;
    delete taken.fieldItem;
    auto* row = new QWidget;
    auto* columns = new QHBoxLayout(row);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(properties, 1);
    auto* stage = new QVBoxLayout;
    lResolution_ = NamedWidget(new QLabel, "lResolution");
    lResolution_->setToolTip("Where the surface's shader or image was found");
    lResolution_->setWordWrap(true);
    img3DView_ = NamedWidget(new QLabel, "img3DView");
    img3DView_->setFixedSize(kPreviewSide, kPreviewSide);
    img3DView_->setAlignment(Qt::AlignCenter);
    leTextureDimensions_ = NamedWidget(new QLineEdit, "leTextureDimensions");
    leTextureDimensions_->setReadOnly(true);
    leTextureDimensions_->setMaximumWidth(kPreviewSide);
    leTextureDimensions_->setToolTip("Image width x height");
    stage->addWidget(lResolution_);
    stage->addWidget(img3DView_);
    stage->addWidget(leTextureDimensions_);
    stage->addStretch(1);
    columns->addLayout(stage);
    form->addRow(row);
    emptyColour = img3DView_->palette().color(QPalette::Window);
    connect(panels.ShaderTextureList(), &QComboBox::currentIndexChanged, this,
            &TTexturePanel::ShowStage);
    Empty();
}

void TTexturePanel::Empty() {
    cbShaderFile_->clear();
    cbShaderNameFound_->clear();
    leSkinFile_->clear();
    SetMissingTextures({});
    lResolution_->clear();
    lResolution_->hide();
    shaderIndex_ = -1;
    ShowStage(-1);
}

void TTexturePanel::SetResolution(const TSurfaceResolution& resolution) {
    cbShaderFile_->clear();
    cbShaderNameFound_->clear();
    for (const TSurfaceShaderResult& surface : resolution.surfaces) {
        cbShaderFile_->addItem(QString::fromStdString(surface.shaderFile));
        cbShaderNameFound_->addItem(QString::fromStdString(surface.shaderNameFound));
    }
}

void TTexturePanel::SetMissingTextures(const QStringList& lines) {
    lstMissingTextures_->clear();
    lstMissingTextures_->addItems(lines);
    form_->setRowVisible(lstMissingTextures_, !lines.isEmpty());
}

void TTexturePanel::SetSkinFile(const QString& fileName) {
    leSkinFile_->setText(fileName);
}

void TTexturePanel::ShowSurface(int surface, int shaderIndex, const QString& skinPath) {
    panels_.SkinField()->setText(skinPath);
    panels_.SkinField()->setCursorPosition(0);  // the start of a long path says the most
    for (QComboBox* list : {cbShaderFile_, cbShaderNameFound_})
        list->setCurrentIndex(surface < list->count() ? surface : -1);
    shaderIndex_ = shaders_.ValidIndex(shaderIndex) ? shaderIndex : -1;
    QComboBox* stages = panels_.ShaderTextureList();
    {
        const QSignalBlocker quiet(stages);
        stages->clear();
        if (shaderIndex_ >= 0) {
            for (const TShaderTexture& stage : shaders_.shaders[shaderIndex_].stages)
                stages->addItem(QString::fromStdString(stage.textureName));
        }
        stages->setCurrentIndex(stages->count() > 0 ? 0 : -1);
    }
    const std::uint32_t flags = shaderIndex_ >= 0 ? shaders_.shaders[shaderIndex_].flags : 0;
    lResolution_->setText(ResolutionPath(flags));
    lResolution_->setVisible(flags != 0);
    ShowStage(stages->currentIndex());
}

void TTexturePanel::RefreshPreview() {
    ShowStage(panels_.ShaderTextureList()->currentIndex());
}

void TTexturePanel::ShowStage(int stageNr) {
    QWidget* page = panels_.SurfacesPage();
    auto box = [page](const char* name) { return page->findChild<QCheckBox*>(name); };
    const TShaderTexture* stage = nullptr;
    if (shaderIndex_ >= 0) {
        const auto& stages = shaders_.shaders[shaderIndex_].stages;
        if (stageNr >= 0 && stageNr < static_cast<int>(stages.size())) stage = &stages[stageNr];
    }
    const bool script =
        shaderIndex_ >= 0 && (shaders_.shaders[shaderIndex_].flags & kShaderFoundInScript) != 0;
    box("cbHasAlpha")->setChecked(stage != nullptr && stage->textureHasAlpha);
    box("cbAlphaFunc")->setChecked(script && stage && stage->alphaFunc != kAlphaFuncNone);
    box("cbEnvironment")->setChecked(script && stage && stage->environment);
    box("cbClamped")->setChecked(script && stage && stage->clamp);
    box("cbAnimMap")->setChecked(script && stage && stage->animMap);
    box("cbVideoMap")->setChecked(script && stage && stage->videoMap);
    panels_.CullField()->setText(script && stage ? CullText(stage->cull) : QString());
    leTextureDimensions_->setText(
        stage != nullptr ? QStringLiteral("%1x%2").arg(stage->imageWidth).arg(stage->imageHeight)
                         : QString());
    preview_ = stage != nullptr ? StageImage(*stage) : QImage();
    if (preview_.isNull()) {
        QPixmap empty(kPreviewSide, kPreviewSide);
        empty.fill(emptyColour);
        img3DView_->setPixmap(empty);
    } else {
        img3DView_->setPixmap(QPixmap::fromImage(preview_).scaled(
            kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

// The image as the stage's texture holds it: decoded from its file and brightened by the
// view's gamma. Transparent texels are shown over a light grey when the alpha preview is on.
QImage TTexturePanel::StageImage(const TShaderTexture& stage) const {
    if (stage.texture == 0 || stage.texturePath.empty()) return {};
    TextureImageResult decoded;
    try {
        decoded = DecodeImageFile(stage.texturePath);
    } catch (const FileError&) {
        return {};
    }
    if (!decoded) return {};
    Image& image = decoded.texture->image;
    SoftwareGamma softwareGamma;
    softwareGamma.SetGamma(gamma);
    softwareGamma.Apply(image);
    QImage out(image.width, image.height, QImage::Format_RGB888);
    const bool blend = image.hasAlpha && alphaPreview;
    const int background[3] = {kAlphaBackground.red(), kAlphaBackground.green(),
                               kAlphaBackground.blue()};
    for (int y = 0; y < image.height; ++y) {
        // The decoded rows run bottom-up, as GL takes them.
        uchar* line = out.scanLine(image.height - 1 - y);
        const std::uint8_t* p = image.pixels.data() + static_cast<std::size_t>(y) * image.width * 4;
        for (int x = 0; x < image.width; ++x, p += 4) {
            const float a = p[3] / 255.0f;
            for (int c = 0; c < 3; ++c) {
                line[x * 3 + c] =
                    blend ? static_cast<uchar>(std::lround(p[c] * a + background[c] * (1.0f - a)))
                          : p[c];
            }
        }
    }
    return out;
}
