#include "app/pk3_preview.h"

#include <QFileInfo>

#include "assets/archive_loads.h"
#include "image/texture_image.h"
#include "io/file_error.h"
#include "md3/md3.h"
#include "render/gl/obj_texture.h"
#include "render/gl/offscreen_binding.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"
#include "render/gl/scene_renderer.h"
#include "render/thumbnail_framing.h"
#include "render/view_control.h"
#include "render/view_presets.h"
#include "shader/q3_shaders.h"

namespace {

// Rows of the captured view and of decoded images run bottom-up.
QImage BottomUp(int width, int height, const std::uint8_t* rgba) {
    QImage image(width, height, QImage::Format_RGBA8888);
    for (int y = 0; y < height; ++y)
        std::copy_n(rgba + static_cast<std::size_t>(height - 1 - y) * width * 4, width * 4,
                    image.scanLine(y));
    return image;
}

TPK3Preview DrawModel(const std::string& file, int size) {
    TMD3 model;
    if (!model.LoadFromFile(file))
        return {{}, QStringLiteral("No preview: ") + QString::fromStdString(model.LastError())};
    const std::vector<TVector3> points = FrameVertexPositions(model, 0);
    if (points.empty()) return {{}, QStringLiteral("No preview: the model has no vertices")};
    // Inside the window's process the toolkit's own offscreen surface shares its display
    // connection; the stand-alone choice is the fallback.
    std::unique_ptr<IOffscreenBinding> binding = std::make_unique<TOffscreenGLBinding>(size, size);
    if (!binding->HasSurface()) binding = MakeOffscreenBinding(size, size);
    TOGL ogl;
    QString glError;
    ogl.SetErrorHandler(
        [&glError](const TGLErrorReport& r) { glError = QString::fromStdString(r.message); });
    ogl.InitOnWindow(binding.get());
    if (!ogl.IsReady())
        return {{}, QStringLiteral("No preview: no OpenGL drawing (%1)").arg(glError)};
    TObjTexture textures;
    ogl.SetTextureHooks(TextureHooksFor(textures));
    TPK3Preview preview;
    {
        TShaders shaders(&textures);
        TSceneRenderer renderer(ogl, shaders);
        // Fitted and turned as the view fits and turns a model, three-quarter.
        TViewState view;
        ogl.Camera().ResetCamera();
        ogl.Camera().freeMove = false;
        view.cameraDistance = kCameraDistanceStart;
        PlaceCameraAtStart(view, ogl.Camera());
        ::ResetView(view, ogl.Camera(), true, MD3FrameZeroBounds(model));
        ApplyViewPreset(view, TViewPreset::ThreeQuarter);
        TViewSwitches sw;
        sw.lighting = true;
        sw.showTags = false;
        sw.centerModel = true;  // keeps the fitted pivot
        TSceneModel scene{kModelKindMD3, &model, 0, -1};
        const TCapturedView shot = renderer.CaptureView(view, sw, 0x00000000, scene);
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(shot.width) * shot.height * 4);
        for (std::size_t i = 0; i < shot.alpha.size(); ++i) {
            std::copy_n(&shot.rgb[i * 3], 3, &rgba[i * 4]);
            rgba[i * 4 + 3] = shot.alpha[i];
        }
        preview.picture = BottomUp(shot.width, shot.height, rgba.data());
    }
    ogl.MakeCurrent();
    textures.FreeAllTextures();
    ogl.SetTextureHooks({});
    ogl.Release();
    return preview;
}

TPK3Preview DecodeImage(const std::string& file) {
    try {
        const TextureImageResult decoded = DecodeImageFile(file);
        if (!decoded)
            return {{}, QStringLiteral("No preview: ") + QString::fromStdString(decoded.error)};
        const Image& image = decoded.texture->image;
        return {BottomUp(image.width, image.height, image.pixels.data()), QString()};
    } catch (const FileError& e) {
        return {{}, QStringLiteral("No preview: ") + QString::fromUtf8(e.what())};
    }
}

}  // namespace

TPK3Preview PreviewArchiveEntry(const std::string& archive, const std::string& entry,
                                const std::string& scratchFolder, int size) {
    const QString suffix = QFileInfo(QString::fromStdString(entry)).suffix().toUpper();
    const bool model = suffix == "MD3" || suffix == "MDC";
    const bool image = suffix == "TGA" || suffix == "JPG" || suffix == "BMP";
    if (!model && !image)
        return {{}, QStringLiteral("No preview for .%1 files").arg(suffix.toLower())};
    const TEntryExtraction extracted = ExtractFromArchive(archive, entry, scratchFolder);
    if (!extracted.ok())
        return {{},
                QStringLiteral("No preview: \"%1\" could not be taken out of the archive")
                    .arg(QString::fromStdString(entry))};
    return model ? DrawModel(extracted.path, size) : DecodeImage(extracted.path);
}
