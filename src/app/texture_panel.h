// The texturing fields of the "Surfaces" page: where the selected surface's shader or image
// was found (the script file, the name found in it, a path of markers), its skin entry, the
// stages of its shader, and for the chosen stage a preview of the image with its size and
// properties. The fields show what the last resolution put into the shader store.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "assets/surface_resolution.h"
#include "shader/q3_shaders.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class TModelPanels;

// The markers of a shader entry's flag word, in order: the skin, where the shader or image
// was found, then the script and its texture or the plain image; for example
// "Skin → Game PAK → Image". Empty for no flags.
QString ResolutionPath(std::uint32_t flags);

class TTexturePanel : public QObject {
    Q_OBJECT
  public:
    // Adds its fields to the panels' "Surfaces" page and takes over the stage list there.
    TTexturePanel(TModelPanels& panels, const TShaders& shaders, QObject* parent = nullptr);

    // Every texturing field empty, the markers hidden.
    void Empty();
    // cbShaderFile and cbShaderNameFound: one item per surface of the resolution.
    void SetResolution(const TSurfaceResolution& resolution);
    void SetSkinFile(const QString& fileName);
    // lstMissingTextures: one line per surface whose shader or images were not found; the
    // row is shown only while there are some.
    void SetMissingTextures(const QStringList& lines);
    // Shows the surface's entry of the shader store (-1 for none) and its skin path.
    void ShowSurface(int surface, int shaderIndex, const QString& skinPath);
    // Draws the preview of the chosen stage again (the alpha switch or the gamma changed).
    void RefreshPreview();

    bool alphaPreview = true;
    float gamma = 1.0f;
    // The colour a stage without image shows.
    QColor emptyColour;

    const QImage& Preview() const { return preview_; }
    // cbShaderList: the user's shader scripts, which the main window keeps.
    QComboBox* ShaderListCombo() const { return cbShaderList_; }

  private:
    void ShowStage(int stage);
    QImage StageImage(const TShaderTexture& stage) const;

    const TShaders& shaders_;
    TModelPanels& panels_;
    QFormLayout* form_ = nullptr;
    QListWidget* lstMissingTextures_ = nullptr;
    QComboBox* cbShaderList_ = nullptr;
    QComboBox* cbShaderFile_ = nullptr;
    QComboBox* cbShaderNameFound_ = nullptr;
    QLineEdit* leSkinFile_ = nullptr;
    QLineEdit* leTextureDimensions_ = nullptr;
    QLabel* img3DView_ = nullptr;
    QLabel* lResolution_ = nullptr;
    QImage preview_;
    int shaderIndex_ = -1;
};
