#include "cli/render/render_command.h"

#include <QBuffer>
#include <QImage>

#include <filesystem>

#include "cli/cli_error.h"
#include "cli/model_files.h"
#include "cli/render/render_texturing.h"
#include "io/atomic_file_writer.h"
#include "io/file_names.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"
#include "render/gl/scene_renderer.h"
#include "render/screenshot_file.h"
#include "render/thumbnail_framing.h"

namespace {

// The captured view as PNG bytes: rows top-down, alpha from the coverage mask.
std::vector<std::uint8_t> EncodePng(const TCapturedView& shot) {
    QImage image(shot.width, shot.height, QImage::Format_RGBA8888);
    for (int y = 0; y < shot.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(shot.height - 1 - y) * shot.width;
        uchar* line = image.scanLine(y);
        for (int x = 0; x < shot.width; ++x) {
            const std::size_t i = row + static_cast<std::size_t>(x);
            line[x * 4] = shot.rgb[i * 3];
            line[x * 4 + 1] = shot.rgb[i * 3 + 1];
            line[x * 4 + 2] = shot.rgb[i * 3 + 2];
            line[x * 4 + 3] = shot.mask[i];
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return {bytes.begin(), bytes.end()};
}

}  // namespace

int RunRender(const TRenderOptions& o, std::ostream& warnings) {
    const std::string ext = UpperCaseExtension(o.output);
    if (ext != ".PNG" && ext != ".TGA") {
        throw CliError("Cannot write \"" + o.output + "\": unsupported image format \"" +
                       std::filesystem::path(o.output).extension().string() +
                       "\" (supported: .png, .tga)");
    }
    TMD3 model;
    if (DetectInputFormat(o.model) != ModelFormat::MD3) {
        throw CliError("Cannot load \"" + o.model + "\": unknown or unsupported model format");
    }
    LoadMD3OrThrow(model, o.model);
    if (o.frame < 0 || o.frame >= model.header.numFrames) {
        throw CliError("Cannot render \"" + o.model + "\": it has no frame " +
                       std::to_string(o.frame) +
                       " (frames: " + std::to_string(model.header.numFrames) + ")");
    }
    const std::vector<TVector3> points = FrameVertexPositions(model, o.frame);
    if (points.empty()) {
        throw CliError("Cannot render \"" + o.model + "\": it has no vertices to draw");
    }
    // A game, skin or script that cannot be used fails before any OpenGL is loaded.
    TRenderTexturing texturing(o, warnings);

    const std::unique_ptr<IOffscreenBinding> binding = MakeOffscreenBinding(o.width, o.height);
    TOGL ogl;
    std::string glError;
    ogl.SetErrorHandler([&glError](const TGLErrorReport& report) { glError = report.message; });
    ogl.InitOnWindow(binding.get());
    if (!ogl.IsReady()) {
        throw CliError(
            "Cannot render \"" + o.model + "\": no OpenGL context (" +
            (glError.empty() ? std::string("are Mesa's EGL and DRI drivers installed?") : glError) +
            ")");
    }

    TObjTexture textures;
    ogl.SetTextureHooks(TextureHooksFor(textures));
    TShaders shaders(&textures);
    texturing.TextureModel(model, shaders, textures);
    TSceneRenderer renderer(ogl, shaders);
    const TViewParams& params = ogl.ViewParams();
    const TThumbnailPose pose = FitThumbnail(
        points, o.yaw, o.pitch,
        {params.fieldOfView, static_cast<double>(o.width) / o.height, params.nearClip});
    TViewState view;
    view.pivot = pose.pivot;
    view.rotationAngles = pose.rotationAngles;
    view.pan = pose.pan;
    TCamera& camera = ogl.Camera();
    camera.position = {0.0f, 0.0f, pose.cameraDistance};
    camera.target = kVectorZero;
    camera.up = kVectorPosY;

    TViewSwitches sw;
    sw.lighting = o.lighting;
    sw.wireframe = o.wireframe;
    sw.showTags = false;
    sw.centerModel = true;  // keeps the fitted pivot
    TSceneModel scene{kModelKindMD3, &model, o.frame, -1};
    const TCapturedView shot = renderer.CaptureView(view, sw, 0x00000000, scene);
    const std::vector<std::uint8_t> bytes =
        ext == ".PNG" ? EncodePng(shot)
                      : BuildScreenshotTga(shot.width, shot.height, shot.rgb, shot.mask);
    if (bytes.empty()) throw CliError("Cannot write \"" + o.output + "\": PNG encoding failed");
    ogl.Release();

    AtomicFileWriter out(o.output);
    out.Write(bytes.data(), bytes.size());
    if (!out.Commit()) throw CliError("Cannot write \"" + o.output + "\": " + out.error());
    return 0;
}
