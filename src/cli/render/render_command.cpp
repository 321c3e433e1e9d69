#include "cli/render/render_command.h"

#include <QBuffer>
#include <QImage>

#include <filesystem>
#include <iostream>

#include "cli/cli_error.h"
#include "cli/mds_files.h"
#include "cli/model_files.h"
#include "cli/render/render_character.h"
#include "cli/render/render_texturing.h"
#include "cli/skeletal_files.h"
#include "io/atomic_file_writer.h"
#include "io/file_names.h"
#include "render/gl/offscreen_factory.h"
#include "render/gl/ogl.h"
#include "render/gl/scene_renderer.h"
#include "render/screenshot_file.h"
#include "render/skeletal_view.h"
#include "render/thumbnail_framing.h"
#include "skeletal/aninc.h"

namespace {

// The first frame of an entry of the animation list beside the animation.
int FirstFrameOf(const std::string& name, const TMDX& anim, const std::string& animPath) {
    const TANINCFrame entry = ListedAnimation(name, animPath);
    if (entry.firstFrame < 0 || static_cast<std::size_t>(entry.firstFrame) >= anim.frames.size()) {
        throw CliError("Cannot render \"" + animPath + "\": the animation \"" + name +
                       "\" starts at frame " + std::to_string(entry.firstFrame) +
                       ", which it does not have (frames: " + std::to_string(anim.frames.size()) +
                       ")");
    }
    return entry.firstFrame;
}

// The captured view as PNG bytes: rows top-down, with the model's opacity as alpha.
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
            line[x * 4 + 3] = shot.alpha[i];
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return {bytes.begin(), bytes.end()};
}

void OpenContext(TRenderContext& context, int width, int height) {
    if (context.binding) return;
    context.binding = MakeOffscreenBinding(width, height);
    context.ogl.SetErrorHandler(
        [&context](const TGLErrorReport& report) { context.glError = report.message; });
    context.ogl.InitOnWindow(context.binding.get());
}

// A picture's textures die with it; a context that draws the next one must neither keep
// them nor call hooks into textures that are gone.
class TPictureTextures {
  public:
    explicit TPictureTextures(TOGL& ogl) : ogl_(ogl) {
        ogl_.SetTextureHooks(TextureHooksFor(textures_));
    }
    ~TPictureTextures() {
        if (ogl_.IsReady()) {
            ogl_.MakeCurrent();
            textures_.FreeAllTextures();
        }
        ogl_.SetTextureHooks({});
    }
    TPictureTextures(const TPictureTextures&) = delete;
    TPictureTextures& operator=(const TPictureTextures&) = delete;
    TObjTexture& Textures() { return textures_; }

  private:
    TOGL& ogl_;
    TObjTexture textures_;
};

}  // namespace

int RunRender(const TRenderOptions& options, std::ostream& warnings, TRenderContext* shared) {
    TRenderOptions o = options;
    const TRenderCharacter character(o, warnings);
    const std::string ext = UpperCaseExtension(o.output);
    if (ext != ".PNG" && ext != ".TGA") {
        throw CliError("Cannot write \"" + o.output + "\": unsupported image format \"" +
                       std::filesystem::path(o.output).extension().string() +
                       "\" (supported: .png, .tga)");
    }
    // An MDS model carries its own animation, and its .aninc list lies beside it.
    const bool mds = IsMDSFile(o.model);
    const ModelFormat format = mds ? ModelFormat::MDM : DetectInputFormat(o.model);
    if (format != ModelFormat::MD3 && format != ModelFormat::MDM) {
        throw CliError("Cannot load \"" + o.model + "\": unknown or unsupported model format");
    }
    const bool skeletal = format == ModelFormat::MDM;
    if (skeletal && !mds && o.mdx.empty()) {
        throw UsageError("Cannot render \"" + o.model + "\": a player mesh needs --mdx ANIM.mdx");
    }
    if (mds && !o.mdx.empty()) {
        throw UsageError("Cannot render \"" + o.model +
                         "\": an MDS model is posed by its own animation, not --mdx");
    }
    const std::string& animPath = mds ? o.model : o.mdx;
    TMD3 model;
    TMDM mesh;
    TMDX anim;
    TSkeletalPoser poser;
    int frame = o.frame;
    int frames = 0;
    if (skeletal) {
        if (mds)
            LoadMDSAsPairOrThrow(o.model, mesh, anim, std::cerr);
        else
            LoadPosablePair(mesh, o.model, anim, o.mdx, std::cerr);
        // The file's indexes mean nothing here; the texturing sets them when a game is given.
        mesh.ClearShaderIndexes();
        // The preview draws each surface at the minimum the mesh stores for it.
        if (o.lod) mesh.LodTableFromMinLod();
        if (!o.animName.empty()) frame = FirstFrameOf(o.animName, anim, animPath);
        frames = static_cast<int>(anim.frames.size());
    } else {
        LoadMD3OrThrow(model, o.model, o.md3Lod);
        frames = model.header.numFrames;
    }
    if (frame < 0 || frame >= frames) {
        throw CliError("Cannot render \"" + o.model +
                       "\": " + (skeletal ? "\"" + animPath + "\" has" : std::string("it has")) +
                       " no frame " + std::to_string(frame) +
                       " (frames: " + std::to_string(frames) + ")");
    }
    std::vector<TVector3> points = skeletal ? SkeletalFrameVertexPositions(mesh, anim, frame, poser)
                                            : FrameVertexPositions(model, frame);
    if (points.empty()) {
        throw CliError("Cannot render \"" + o.model + "\": it has no vertices to draw");
    }
    std::vector<std::string> unread;
    TAttachedModels attached = LoadAttachedModels(character.Attachments(), unread);
    for (const std::string& problem : unread)
        warnings << "veldra-cli: warning: " << problem << '\n';
    if (skeletal && !attached.empty()) {
        // The picture frames the whole character, helmet and weapons included.
        const std::vector<TVector3> extra =
            AttachedVertexPositions(attached, PlaceOnPosedBody(attached, mesh, anim, frame, poser));
        points.insert(points.end(), extra.begin(), extra.end());
    }
    // A game, skin or script that cannot be used fails before any OpenGL is loaded.
    TRenderTexturing texturing(o, warnings);

    TRenderContext own;
    TRenderContext& context = shared != nullptr ? *shared : own;
    OpenContext(context, o.width, o.height);
    TOGL& ogl = context.ogl;
    if (!ogl.IsReady()) {
        throw CliError("Cannot render \"" + o.model + "\": no OpenGL context (" +
                       (context.glError.empty()
                            ? std::string("are Mesa's EGL and DRI drivers installed?")
                            : context.glError) +
                       ")");
    }

    TPictureTextures picture(ogl);
    TObjTexture& textures = picture.Textures();
    TShaders shaders(&textures);
    if (skeletal) {
        texturing.TextureModel(mesh, shaders, textures);
        texturing.TextureAttachments(attached, textures);
    } else {
        texturing.TextureModel(model, shaders, textures);
    }
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
    sw.lodEnabled = o.lod;
    sw.showTags = false;
    sw.centerModel = true;  // keeps the fitted pivot
    TSceneModel scene{skeletal ? kModelKindMDMMDX : kModelKindMD3, &model, frame, -1};
    scene.mdm = &mesh;
    scene.mdx = &anim;
    scene.shaderTime = o.time;
    scene.attachments = &attached;
    const TCapturedView shot = renderer.CaptureView(view, sw, 0x00000000, scene);
    const std::vector<std::uint8_t> bytes =
        ext == ".PNG" ? EncodePng(shot)
                      : BuildScreenshotTga(shot.width, shot.height, shot.rgb, shot.alpha);
    if (bytes.empty()) throw CliError("Cannot write \"" + o.output + "\": PNG encoding failed");
    if (shared == nullptr) ogl.Release();

    AtomicFileWriter out(o.output);
    out.Write(bytes.data(), bytes.size());
    if (!out.Commit()) throw CliError("Cannot write \"" + o.output + "\": " + out.error());
    return 0;
}
