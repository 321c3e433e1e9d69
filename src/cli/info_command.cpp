#include "cli/info_command.h"

#include <charconv>

#include "cli/cli_error.h"
#include "cli/json_writer.h"
#include "cli/model_files.h"

namespace {

// A float as a stream prints it by default (six significant digits), without a stream per
// number: a long animation prints thousands of them.
std::string NumberText(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                   std::chars_format::general, 6)
                         .ptr;
    return std::string(text, end);
}

std::string VectorText(TVector3 v) {
    return '(' + NumberText(v.x) + ", " + NumberText(v.y) + ", " + NumberText(v.z) + ')';
}

std::string Quoted(const std::string& text) {
    return '"' + JsonEscape(text) + '"';
}

void PrintMD3Text(const TMD3& model, const std::string& path, std::ostream& out) {
    const THeader& h = model.header;
    out << "File:     " << path << "\n"
        << "Format:   MD3\n"
        << "Name:     " << Quoted(NameFieldText(h.name)) << "\n"
        << "Version:  " << h.version << "\n"
        << "Flags:    " << h.flags << "\n"
        << "Skins:    " << h.numSkins << "\n";
    out << "Frames:   " << h.numFrames << "\n";
    for (int f = 0; f < h.numFrames; ++f) {
        const TMD3Frame& fr = h.frames[f];
        out << "  [" << f << "] " << Quoted(NameFieldText(fr.name)) << " bounds "
            << VectorText(fr.minBounds) << " - " << VectorText(fr.maxBounds) << " origin "
            << VectorText(fr.localOrigin) << " radius " << NumberText(fr.radius) << "\n";
    }
    out << "Tags:     " << h.numTags << (h.numFrames > 0 ? " (frame 0)" : "") << "\n";
    for (int t = 0; t < h.numTags && h.numFrames > 0; ++t) {
        const TMD3Tag& tag = h.tags[t];
        out << "  [" << t << "] " << Quoted(NameFieldText(tag.name)) << " origin "
            << VectorText(tag.origin) << " axes " << VectorText(tag.axis[0]) << ' '
            << VectorText(tag.axis[1]) << ' ' << VectorText(tag.axis[2]) << "\n";
    }
    out << "Surfaces: " << h.numSurfaces << "\n";
    for (int i = 0; i < h.numSurfaces; ++i) {
        const TSurface& s = h.surfaces[i];
        out << "  [" << i << "] " << Quoted(NameFieldText(s.name)) << " flags " << s.flags << ", "
            << s.numVerts << " vertices, " << s.numTriangles << " triangles, shaders:";
        for (const TMD3Shader& shader : s.shaders)
            out << ' ' << Quoted(NameFieldText(shader.name));
        out << "\n";
    }
}

void PrintMD3Json(const TMD3& model, const std::string& path, std::ostream& out) {
    const THeader& h = model.header;
    JsonWriter j(out);
    j.BeginObject();
    j.Key("format"), j.String("md3");
    j.Key("file"), j.String(path);
    j.Key("name"), j.String(NameFieldText(h.name));
    j.Key("version"), j.Int(h.version);
    j.Key("flags"), j.Int(h.flags);
    j.Key("skins"), j.Int(h.numSkins);
    j.Key("frames"), j.Int(h.numFrames);
    j.Key("frameList");
    j.BeginArray();
    for (const TMD3Frame& fr : h.frames) {
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(fr.name));
        j.Key("minBounds"), j.Vector(fr.minBounds);
        j.Key("maxBounds"), j.Vector(fr.maxBounds);
        j.Key("localOrigin"), j.Vector(fr.localOrigin);
        j.Key("radius"), j.Float(fr.radius);
        j.EndObject();
    }
    j.EndArray();
    j.Key("tags"), j.Int(h.numTags);
    j.Key("tagNames");
    j.BeginArray();
    for (int t = 0; t < h.numTags && h.numFrames > 0; ++t)
        j.String(NameFieldText(h.tags[t].name));
    j.EndArray();
    j.Key("tagList");
    j.BeginArray();
    for (int t = 0; t < h.numTags && h.numFrames > 0; ++t) {
        const TMD3Tag& tag = h.tags[t];
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(tag.name));
        j.Key("origin"), j.Vector(tag.origin);
        j.Key("axis");
        j.BeginArray();
        for (const TVector3& axis : tag.axis)
            j.Vector(axis);
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.Key("surfaces");
    j.BeginArray();
    for (const TSurface& s : h.surfaces) {
        j.BeginObject();
        j.Key("name"), j.String(NameFieldText(s.name));
        j.Key("flags"), j.Int(s.flags);
        j.Key("shaders");
        j.BeginArray();
        for (const TMD3Shader& shader : s.shaders)
            j.String(NameFieldText(shader.name));
        j.EndArray();
        j.Key("verts"), j.Int(s.numVerts);
        j.Key("triangles"), j.Int(s.numTriangles);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    out << '\n';
}

}  // namespace

int RunInfo(const std::string& path, bool json, std::ostream& out) {
    switch (DetectInputFormat(path)) {
        case ModelFormat::MD3: {
            TMD3 model;
            LoadMD3LayoutOrThrow(model, path);
            if (json) {
                PrintMD3Json(model, path, out);
            } else {
                PrintMD3Text(model, path, out);
            }
            return 0;
        }
        case ModelFormat::Unknown:
            break;
    }
    throw CliError("Cannot load \"" + path + "\": unknown or unsupported model format");
}
