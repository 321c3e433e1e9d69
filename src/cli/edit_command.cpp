#include "cli/edit_command.h"

#include <charconv>
#include <filesystem>
#include <functional>
#include <map>

#include "cli/cli_error.h"
#include "cli/model_files.h"
#include "md3/md3_input.h"

namespace {

const std::vector<EditOptionInfo> kOptions = {
    {"--mirror", "x|y|z", "Mirror the model at the plane perpendicular to the axis"},
    {"--mirror-normals", "", "Turn every vertex normal around"},
    {"--reverse-winding", "", "Reverse the winding of every triangle"},
    {"--rotate", "x|y|z:DEG", "Rotate the model about an axis"},
    {"--scale", "F", "Scale positions, bounds, origins and tag origins"},
    {"--origin-to-tag", "NAME|origin", "Move the model so the tag (or the frame origin) is at 0"},
    {"--tags-invert", "x|y|z", "Negate axis 0, 1 or 2 of every tag"},
    {"--tags-swap", "xy|xz|yz", "Exchange two axes of every tag"},
    {"--swap-st", "", "Swap texture coordinates UV-ST (t becomes 1 - t)"},
    {"--remove-surface", "N", "Delete surface N"},
    {"--compact", "", "Merge surfaces with the same shader"},
    {"--recalc-normals", "", "Recalculate the normals of every surface"},
    {"--smooth", "N", "Smooth the normals of surface N"},
    {"--weld", "N:DIST", "Weld the vertices of surface N closer than DIST"},
    {"--tags-from", "FILE.tag", "Add the tags of a tag file (one-frame models)"},
    {"--add-tag", "NAME:ox,oy,oz:ax,ay,az:bx,by,bz:cx,cy,cz", "Add a tag (one-frame models)"},
    {"--save-tags", "FILE.tag", "Write the tags of frame 0 to a tag file"},
    {"--append-frame", "FILE.md3", "Append frame 0 of another file of the same model"},
    {"--append-frames", "FILE.md3", "Append all frames of another file of the same model"},
    {"--delete-frame", "N", "Delete frame N"},
};

struct Failure {
    std::string reason;
};

[[noreturn]] void Fail(const std::string& reason) {
    throw Failure{reason};
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

int ParseIndex(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        Fail("\"" + text + "\" is not a whole number");
    }
    return value;
}

float ParseNumber(const std::string& text) {
    float value = 0.0f;
    if (!ParseDecimal(text, value)) Fail("\"" + text + "\" is not a number");
    return value;
}

int ParseAxis(const std::string& text) {
    if (text == "x" || text == "X") return 0;
    if (text == "y" || text == "Y") return 1;
    if (text == "z" || text == "Z") return 2;
    Fail("\"" + text + "\" is not an axis (x, y or z)");
}

int SurfaceIndex(const TMD3& model, const std::string& text) {
    const int index = ParseIndex(text);
    if (!model.ValidSurface(index)) {
        Fail("the model has no surface " + text + " (it has " +
             std::to_string(model.header.numSurfaces) + ")");
    }
    return index;
}

void RequireOneFrame(const TMD3& model) {
    if (model.header.numFrames != 1) Fail(kTagsNeedOneFrameText);
}

void Warn(std::ostream& warnings, const EditOperation& op, int clamped) {
    if (clamped == 0) return;
    warnings << "veldra-cli: warning: " << op.option << ' ' << op.value << ": " << clamped
             << " coordinate" << (clamped == 1 ? " was" : "s were")
             << " clamped to the 16-bit range\n";
}

TMD3Tag ParseTag(const std::string& text) {
    // The name may itself hold colons; the four number groups are the last four fields.
    const std::vector<std::string> fields = Split(text, ':');
    if (fields.size() < 5) Fail("expected NAME:ox,oy,oz:ax,ay,az:bx,by,bz:cx,cy,cz");
    std::string name = fields[0];
    for (std::size_t i = 1; i + 4 < fields.size(); ++i)
        name += ":" + fields[i];
    std::vector<std::string> numbers;
    for (std::size_t i = fields.size() - 4; i < fields.size(); ++i) {
        const std::vector<std::string> group = Split(fields[i], ',');
        if (group.size() != 3) Fail("expected three numbers in \"" + fields[i] + "\"");
        numbers.insert(numbers.end(), group.begin(), group.end());
    }
    std::array<std::string_view, 12> views;
    for (std::size_t i = 0; i < views.size(); ++i)
        views[i] = numbers[i];
    TMD3Tag tag;
    if (!MakeTag(name, views, tag)) Fail(kInputConversionErrorText);
    return tag;
}

int PivotIndex(const TMD3& model, const std::string& name) {
    const THeader& h = model.header;
    if (name == "origin") return h.numTags;
    for (int t = 0; t < h.numTags && static_cast<std::size_t>(t) < h.tags.size(); ++t) {
        if (NameFieldText(h.tags[static_cast<std::size_t>(t)].name) == name) return t;
    }
    Fail("the model has no tag \"" + name + "\"");
}

void Apply(TMD3& model, const EditOperation& op, std::ostream& warnings) {
    const std::string& v = op.value;
    const std::string& o = op.option;
    if (o == "--mirror") {
        const int axis = ParseAxis(v);
        Warn(warnings, op,
             axis == 0   ? model.MirrorX()
             : axis == 1 ? model.MirrorY()
                         : model.MirrorZ());
    } else if (o == "--mirror-normals") {
        model.MirrorNormals();
    } else if (o == "--reverse-winding") {
        model.ReverseWinding();
    } else if (o == "--rotate") {
        const std::vector<std::string> parts = Split(v, ':');
        if (parts.size() != 2) Fail("expected x|y|z:DEGREES");
        const int axis = ParseAxis(parts[0]);
        const float degrees = ParseNumber(parts[1]);
        Warn(warnings, op,
             axis == 0   ? model.RotateX(degrees)
             : axis == 1 ? model.RotateY(degrees)
                         : model.RotateZ(degrees));
    } else if (o == "--scale") {
        Warn(warnings, op, model.ScaleModel(ParseNumber(v)));
    } else if (o == "--origin-to-tag") {
        Warn(warnings, op, model.TagAsOrigin(PivotIndex(model, v)));
    } else if (o == "--tags-invert") {
        const int axis = ParseAxis(v);
        axis == 0 ? model.TagsInvertX() : axis == 1 ? model.TagsInvertY() : model.TagsInvertZ();
    } else if (o == "--tags-swap") {
        if (v == "xy" || v == "yx") {
            model.TagsSwapXY();
        } else if (v == "xz" || v == "zx") {
            model.TagsSwapXZ();
        } else if (v == "yz" || v == "zy") {
            model.TagsSwapYZ();
        } else {
            Fail("\"" + v + "\" is not a pair of axes (xy, xz or yz)");
        }
    } else if (o == "--swap-st") {
        for (int s = 0; s < model.header.numSurfaces; ++s)
            model.FlipTexCoordT(s);
    } else if (o == "--remove-surface") {
        model.RemoveSurface(SurfaceIndex(model, v));
    } else if (o == "--compact") {
        model.CompactSurfaces();
    } else if (o == "--recalc-normals") {
        for (int s = 0; s < model.header.numSurfaces; ++s)
            model.CalculateNormals(s);
    } else if (o == "--smooth") {
        model.SmoothSurface(SurfaceIndex(model, v));
    } else if (o == "--weld") {
        const std::vector<std::string> parts = Split(v, ':');
        if (parts.size() != 2) Fail("expected N:DISTANCE");
        const int surface = SurfaceIndex(model, parts[0]);
        model.WeldVertices(surface, ParseNumber(parts[1]));
    } else if (o == "--tags-from") {
        RequireOneFrame(model);
        if (!model.LoadTagsFromFile(v)) Fail(model.LastError());
    } else if (o == "--add-tag") {
        RequireOneFrame(model);
        model.AddTag(ParseTag(v));
    } else if (o == "--save-tags") {
        if (!model.SaveTagsToFile(v)) Fail(model.LastError());
    } else if (o == "--append-frame" || o == "--append-frames") {
        std::string message;
        const bool ok = o == "--append-frame" ? model.AppendFirstFrameFromFile(v, message)
                                              : model.AppendAllFramesFromFile(v, message);
        if (!ok) Fail(message);
    } else if (o == "--delete-frame") {
        const int frame = ParseIndex(v);
        if (model.header.numFrames <= 1) Fail("the only frame of a model cannot be deleted");
        if (!model.DeleteFrame(frame)) {
            Fail("the model has no frame " + v + " (it has " +
                 std::to_string(model.header.numFrames) + ")");
        }
    } else {
        Fail("unknown operation");
    }
}

}  // namespace

const std::vector<EditOptionInfo>& EditOptions() {
    return kOptions;
}

int RunEdit(const std::string& input, const std::string& output,
            const std::vector<EditOperation>& operations, std::ostream& warnings) {
    if (FormatFromExtension(output) != ModelFormat::MD3) {
        throw CliError("Cannot write \"" + output + "\": unsupported output format \"" +
                       std::filesystem::path(output).extension().string() + "\" (supported: .md3)");
    }
    TMD3 model;
    LoadMD3OrThrow(model, input);
    for (const EditOperation& op : operations) {
        try {
            Apply(model, op, warnings);
        } catch (const Failure& failure) {
            std::string what = op.option;
            if (!op.value.empty()) what += " " + op.value;
            throw CliError("Cannot edit \"" + input + "\": " + what + ": " + failure.reason);
        }
    }
    if (!model.SaveToFile(output)) {
        throw CliError("Cannot write \"" + output + "\": " + model.LastError());
    }
    return 0;
}
