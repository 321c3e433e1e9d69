#include "cli/edit_command.h"

#include <filesystem>
#include <functional>
#include <memory>

#include "cli/cli_error.h"
#include "cli/edit_values.h"
#include "cli/item_argument.h"
#include "cli/model_files.h"
#include "cli/skeletal_edit_command.h"
#include "io/atomic_file_writer.h"
#include "io/file_error.h"
#include "md3/md3_tag_file.h"
#include "mdc/mdc.h"

namespace {

const std::vector<EditOptionInfo> kOptions = {
    {"--mirror", "x|y|z", "Mirror the model at the plane perpendicular to the axis"},
    {"--mirror-normals", "", "Turn every vertex normal around"},
    {"--reverse-winding", "", "Reverse the winding of every triangle"},
    {"--rotate", "x|y|z:DEG", "Rotate the model about an axis"},
    {"--scale", "F",
     "Scale positions, bounds, origins and tag origins (negative: mirror through the origin)"},
    {"--origin-to-tag", "NAME|origin", "Move the model so the tag (or the frame origin) is at 0"},
    {"--tags-invert", "x|y|z", "Negate axis 0, 1 or 2 of every tag"},
    {"--tags-swap", "xy|xz|yz", "Exchange two axes of every tag"},
    {"--swap-st", "", "Swap texture coordinates UV-ST (t becomes 1 - t)"},
    {"--set-shader", "SURFACE:NAME",
     "Set the shader of a surface given by index or name (empty: left to the skin)"},
    {"--rename-surface", "SURFACE:NAME", "Rename a surface given by index or name"},
    {"--remove-surface", "N", "Delete surface N"},
    {"--compact", "", "Merge surfaces with the same shader"},
    {"--recalc-normals", "", "Recalculate the normals of every surface (MDM: posed at frame 0)"},
    {"--smooth", "N", "Smooth the normals of surface N (MDM: posed at frame 0)"},
    {"--weld", "N:DIST", "Weld the vertices of surface N closer than DIST"},
    {"--tags-from", "FILE.tag", "Add the tags of a tag file (one-frame models)"},
    {"--add-tag", "NAME:ox,oy,oz:ax,ay,az:bx,by,bz:cx,cy,cz", "Add a tag (one-frame models)"},
    {"--remove-tag", "TAG", "Remove a tag given by index or name from every frame"},
    {"--rename-tag", "TAG:NAME", "Rename a tag given by index or name"},
    {"--move-tag", "TAG:N", "Move a tag to place N, the tags between moving by one"},
    {"--save-tags", "FILE.tag", "Write the tags of frame 0 to a tag file (with OUT)"},
    {"--append-frame", "FILE.md3", "Append frame 0 of another file of the same model"},
    {"--append-frames", "FILE.md3", "Append all frames of another file of the same model"},
    {"--delete-frame", "N", "Delete frame N"},
};

// A tag file asked for by --save-tags: the tags as they were at that point of the command.
struct PendingTagFile {
    std::string path;
    std::vector<TMD3Tag> tags;
};

struct EditState {
    TMD3& model;
    std::ostream& warnings;
    std::vector<PendingTagFile>& tagFiles;
};

using EditStep = std::function<void(EditState&)>;

std::string Describe(const EditOperation& op) {
    return op.value.empty() ? op.option : op.option + " " + op.value;
}

void Warn(std::ostream& warnings, const EditOperation& op, int clamped) {
    if (clamped == 0) return;
    warnings << "veldra-cli: warning: " << Describe(op) << ": " << clamped << " coordinate"
             << (clamped == 1 ? " was" : "s were") << " clamped to the 16-bit range\n";
}

void RequireSurface(const TMD3& model, int index) {
    if (!model.ValidSurface(index)) {
        FailOperation("the model has no surface " + std::to_string(index) + " (it has " +
                      std::to_string(model.header.numSurfaces) + ")");
    }
}

void RequireOneFrame(const TMD3& model) {
    if (model.header.numFrames != 1) FailOperation(kTagsNeedOneFrameText);
}

int PivotIndex(const TMD3& model, const std::string& name) {
    const THeader& h = model.header;
    if (name == "origin") return h.numTags;
    for (int t = 0; t < h.numTags && static_cast<std::size_t>(t) < h.tags.size(); ++t) {
        if (NameFieldText(h.tags[static_cast<std::size_t>(t)].name) == name) return t;
    }
    FailOperation("the model has no tag \"" + name + "\"");
}

// Both names lead to the same file, now or once written.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) return true;
    const std::filesystem::path ca = std::filesystem::weakly_canonical(a, ec);
    if (ec) return false;
    const std::filesystem::path cb = std::filesystem::weakly_canonical(b, ec);
    return !ec && ca == cb;
}

using AxisEdit = int (TMD3::*)();
using TagEdit = void (TMD3::*)();

EditStep PlanSurfaceName(const EditOperation& op, bool shader) {
    CheckItemAndNameSyntax(op.value, "SURFACE:NAME");
    return [value = op.value, shader](EditState& s) {
        const SurfaceAndName target = ResolveSurfaceAndName(s.model, value, shader);
        if (shader) {
            s.model.SetShaderName(target.surface, target.name);
        } else {
            SetName64(target.name,
                      s.model.header.surfaces[static_cast<std::size_t>(target.surface)].name);
        }
    };
}

EditStep PlanFrameEdit(const EditOperation& op) {
    const std::string& o = op.option;
    const std::string& v = op.value;
    if (o == "--append-frame" || o == "--append-frames") {
        return [v, all = o == "--append-frames"](EditState& s) {
            std::string message;
            const bool ok = all ? s.model.AppendAllFramesFromFile(v, message)
                                : s.model.AppendFirstFrameFromFile(v, message);
            if (!ok) FailOperation(message);
        };
    }
    const int frame = ParseIndex(v);
    return [frame](EditState& s) {
        const int frames = s.model.header.numFrames;
        if (frames <= 0) FailOperation("the model has no frames");
        if (frame >= frames) {
            FailOperation("the model has no frame " + std::to_string(frame) + " (it has " +
                          std::to_string(frames) + ")");
        }
        if (frames == 1) FailOperation("the only frame of a model cannot be deleted");
        s.model.DeleteFrame(frame);
    };
}

EditStep PlanTagEdit(const EditOperation& op, const std::string& input, const std::string& output) {
    const std::string& o = op.option;
    const std::string& v = op.value;
    if (o == "--tags-invert") {
        static constexpr TagEdit kInvert[] = {&TMD3::TagsInvertX, &TMD3::TagsInvertY,
                                              &TMD3::TagsInvertZ};
        const TagEdit edit = kInvert[ParseAxis(v)];
        return [edit](EditState& s) { (s.model.*edit)(); };
    }
    if (o == "--tags-swap") {
        TagEdit edit = nullptr;
        if (v == "xy" || v == "yx") edit = &TMD3::TagsSwapXY;
        if (v == "xz" || v == "zx") edit = &TMD3::TagsSwapXZ;
        if (v == "yz" || v == "zy") edit = &TMD3::TagsSwapYZ;
        if (edit == nullptr) FailOperation("\"" + v + "\" is not a pair of axes (xy, xz or yz)");
        return [edit](EditState& s) { (s.model.*edit)(); };
    }
    if (o == "--tags-from") {
        return [v](EditState& s) {
            RequireOneFrame(s.model);
            if (!s.model.LoadTagsFromFile(v)) FailOperation(s.model.LastError());
        };
    }
    if (o == "--add-tag") {
        const TMD3Tag tag = ParseTag(v);
        return [tag](EditState& s) {
            RequireOneFrame(s.model);
            s.model.AddTag(tag);
        };
    }
    if (o == "--remove-tag") {
        if (v.empty()) FailOperation("expected a tag's index or name");
        return [v](EditState& s) { s.model.RemoveTag(ResolveTag(s.model, v)); };
    }
    if (o == "--rename-tag") {
        CheckItemAndNameSyntax(v, "TAG:NAME");
        return [v](EditState& s) {
            const TagAndName target = ResolveTagAndName(s.model, v);
            s.model.RenameTag(target.tag, target.name);
        };
    }
    if (o == "--move-tag") {
        // The place is a number, so the last colon ends the tag, whose name may hold colons.
        const std::size_t colon = v.rfind(':');
        if (colon == std::string::npos || colon == 0) FailOperation("expected TAG:N");
        const std::string reference = v.substr(0, colon);
        const int place = ParseIndex(v.substr(colon + 1));
        return [reference, place](EditState& s) {
            const int tag = ResolveTag(s.model, reference);
            const int count = s.model.header.numTags;
            if (place >= count) {
                FailOperation("place " + std::to_string(place) +
                              " is past the last tag (the model has " + std::to_string(count) +
                              (count == 1 ? " tag)" : " tags)"));
            }
            s.model.MoveTag(tag, place);
        };
    }
    // --save-tags
    RequireExtension(v, ".TAG");
    if (SameFile(v, input)) FailOperation("the tag file would overwrite IN");
    if (SameFile(v, output)) FailOperation("the tag file would overwrite OUT");
    return [v](EditState& s) {
        PendingTagFile file{v, {}};
        if (!s.model.FrameZeroTags(file.tags)) FailOperation(s.model.LastError());
        s.tagFiles.push_back(std::move(file));
    };
}

// Checks everything about an operation that does not depend on the model and returns what
// it does to the model. Throws OperationError.
EditStep Plan(const EditOperation& op, const std::string& input, const std::string& output) {
    const std::string& o = op.option;
    const std::string& v = op.value;
    if (IsSkeletalEditOption(o)) FailOperation("applies to MDM meshes and MDX animations");
    if (o == "--mirror") {
        static constexpr AxisEdit kMirror[] = {&TMD3::MirrorX, &TMD3::MirrorY, &TMD3::MirrorZ};
        const AxisEdit edit = kMirror[ParseAxis(v)];
        return [edit, op](EditState& s) { Warn(s.warnings, op, (s.model.*edit)()); };
    }
    if (o == "--mirror-normals") return [](EditState& s) { s.model.MirrorNormals(); };
    if (o == "--reverse-winding") return [](EditState& s) { s.model.ReverseWinding(); };
    if (o == "--rotate") {
        const std::vector<std::string> parts = Split(v, ':');
        if (parts.size() != 2) FailOperation("expected x|y|z:DEGREES");
        const int axis = ParseAxis(parts[0]);
        const float degrees = ParseNumber(parts[1]);
        return [axis, degrees, op](EditState& s) {
            Warn(s.warnings, op,
                 axis == 0   ? s.model.RotateX(degrees)
                 : axis == 1 ? s.model.RotateY(degrees)
                             : s.model.RotateZ(degrees));
        };
    }
    if (o == "--scale") {
        const float factor = ParseNumber(v);
        return [factor, op](EditState& s) { Warn(s.warnings, op, s.model.ScaleModel(factor)); };
    }
    if (o == "--origin-to-tag") {
        if (v.empty()) FailOperation("expected a tag name or \"origin\"");
        return [v, op](EditState& s) {
            Warn(s.warnings, op, s.model.TagAsOrigin(PivotIndex(s.model, v)));
        };
    }
    if (o == "--swap-st") {
        return [](EditState& s) {
            for (int surface = 0; surface < s.model.header.numSurfaces; ++surface)
                s.model.FlipTexCoordT(surface);
        };
    }
    if (o == "--set-shader" || o == "--rename-surface") {
        return PlanSurfaceName(op, o == "--set-shader");
    }
    if (o == "--remove-surface" || o == "--smooth") {
        const int surface = ParseIndex(v);
        const bool remove = o == "--remove-surface";
        return [surface, remove](EditState& s) {
            RequireSurface(s.model, surface);
            remove ? static_cast<void>(s.model.RemoveSurface(surface))
                   : s.model.SmoothSurface(surface);
        };
    }
    if (o == "--compact") return [](EditState& s) { s.model.CompactSurfaces(); };
    if (o == "--recalc-normals") {
        return [](EditState& s) {
            for (int surface = 0; surface < s.model.header.numSurfaces; ++surface)
                s.model.CalculateNormals(surface);
        };
    }
    if (o == "--weld") {
        const std::vector<std::string> parts = Split(v, ':');
        if (parts.size() != 2) FailOperation("expected N:DISTANCE");
        const int surface = ParseIndex(parts[0]);
        const float distance = ParseNumber(parts[1]);
        return [surface, distance](EditState& s) {
            RequireSurface(s.model, surface);
            s.model.WeldVertices(surface, distance);
        };
    }
    if (o == "--tags-invert" || o == "--tags-swap" || o == "--tags-from" || o == "--add-tag" ||
        o == "--remove-tag" || o == "--rename-tag" || o == "--move-tag" || o == "--save-tags") {
        return PlanTagEdit(op, input, output);
    }
    if (o == "--append-frame" || o == "--append-frames" || o == "--delete-frame") {
        return PlanFrameEdit(op);
    }
    FailOperation("unknown operation");
}

std::string FailureText(const std::string& input, const EditOperation& op,
                        const std::string& reason) {
    return "Cannot edit \"" + input + "\": " + Describe(op) + ": " + reason;
}

// OUT and every tag file are written in full before any of them replaces its target, so a
// failure on the way leaves them all as they were.
void WriteResults(TMD3& model, const std::string& output,
                  const std::vector<PendingTagFile>& tagFiles) {
    AtomicFileWriter out(output);
    // An edited MDC stays compressed; whatever the edit left alone is written as it was read.
    if (!(IsMDCFileName(output) ? model.WriteMDCTo(out) : model.WriteTo(out)))
        throw CliError("Cannot write \"" + output + "\": " + model.LastError());
    std::vector<std::unique_ptr<AtomicFileWriter>> sideFiles;
    for (const PendingTagFile& file : tagFiles) {
        sideFiles.push_back(std::make_unique<AtomicFileWriter>(file.path));
        std::string error;
        if (!WriteTagFile(*sideFiles.back(), file.tags, error)) {
            throw CliError("Cannot write \"" + file.path + "\": " + error);
        }
    }
    if (!out.Commit()) {
        throw CliError("Cannot write \"" + output + "\": writing failed: " + out.error());
    }
    for (std::size_t i = 0; i < sideFiles.size(); ++i) {
        if (!sideFiles[i]->Commit()) {
            throw CliError("Cannot write \"" + tagFiles[i].path +
                           "\": writing failed: " + sideFiles[i]->error());
        }
    }
}

}  // namespace

const std::vector<EditOptionInfo>& EditOptions() {
    static const std::vector<EditOptionInfo> options = [] {
        std::vector<EditOptionInfo> all = kOptions;
        const std::vector<EditOptionInfo>& skeletal = SkeletalEditOptions();
        all.insert(all.end(), skeletal.begin(), skeletal.end());
        return all;
    }();
    return options;
}

int RunEdit(const std::string& input, const std::string& output,
            const std::vector<EditOperation>& operations, std::ostream& warnings) {
    const ModelFormat inputFormat = FormatFromExtension(input);
    if (inputFormat == ModelFormat::MDM || inputFormat == ModelFormat::MDX) {
        return RunSkeletalEdit(input, output, operations, warnings);
    }
    if (FormatFromExtension(output) != ModelFormat::MD3) {
        throw UnsupportedOutput(output, "supported: .md3, .mdc");
    }
    std::vector<EditStep> steps;
    for (const EditOperation& op : operations) {
        try {
            steps.push_back(Plan(op, input, output));
        } catch (const OperationError& e) {
            throw UsageError(FailureText(input, op, e.what()));
        }
    }

    TMD3 model;
    LoadMD3OrThrow(model, input);
    std::vector<PendingTagFile> tagFiles;
    EditState state{model, warnings, tagFiles};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        try {
            steps[i](state);
        } catch (const OperationError& e) {
            throw CliError(FailureText(input, operations[i], e.what()));
        } catch (const FileError& e) {
            // A file the operation reads (--append-frame, --tags-from) could not be opened.
            throw CliError(FailureText(input, operations[i], e.what()));
        }
    }
    WriteResults(model, output, tagFiles);
    return 0;
}
