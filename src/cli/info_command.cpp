#include "cli/info_command.h"

#include <algorithm>
#include <new>
#include <sstream>

#include "cli/cli_error.h"
#include "cli/import_convert.h"
#include "cli/info_kinds.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/map_convert.h"
#include "cli/mds_files.h"
#include "cli/model_files.h"
#include "cli/model_source.h"
#include "cli/shader_script_info.h"
#include "cli/skeletal_info.h"
#include "io/file_names.h"
#include "md3/md3_tag_file.h"
#include "mdc/mdc_format.h"

namespace {

void PrintTagsText(const std::vector<TMD3Tag>& tags, std::size_t count, std::ostream& out) {
    for (std::size_t t = 0; t < count && t < tags.size(); ++t) {
        const TMD3Tag& tag = tags[t];
        out << "  [" << t << "] " << Quoted(NameFieldText(tag.name)) << " origin "
            << VectorText(tag.origin) << " axes " << VectorText(tag.axis[0]) << ' '
            << VectorText(tag.axis[1]) << ' ' << VectorText(tag.axis[2]) << "\n";
    }
}

void PrintTagsJson(const std::vector<TMD3Tag>& tags, std::size_t count, JsonWriter& j) {
    count = std::min(count, tags.size());
    j.Key("tagNames");
    j.BeginArray();
    for (std::size_t t = 0; t < count; ++t)
        j.String(NameFieldText(tags[t].name));
    j.EndArray();
    j.Key("tagList");
    j.BeginArray();
    for (std::size_t t = 0; t < count; ++t) {
        const TMD3Tag& tag = tags[t];
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
}

// The tags of frame 0; none without a frame.
std::size_t FrameZeroTagCount(const THeader& h) {
    return h.numFrames > 0 && h.numTags > 0 ? static_cast<std::size_t>(h.numTags) : 0;
}

// The version the file stores: a compressed model is held as an MD3 once read.
std::int32_t FileVersion(const TMD3& model) {
    return model.ReadFromMDC() ? kMDCVersion : model.header.version;
}

// `format` names what the file is when it is not an MD3 itself but converts to one.
void PrintMD3Text(const TMD3& model, const std::string& path, const std::string& format,
                  std::ostream& out) {
    const THeader& h = model.header;
    out << "File:     " << path << "\n"
        << "Format:   "
        << (!format.empty()       ? format + ", converted to MD3"
            : model.ReadFromMDC() ? "MDC"
                                  : "MD3")
        << "\n"
        << "Name:     " << Quoted(NameFieldText(h.name)) << "\n"
        << "Version:  " << FileVersion(model) << "\n"
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
    PrintTagsText(h.tags, FrameZeroTagCount(h), out);
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

void PrintMD3Json(const TMD3& model, const std::string& path, const std::string& format,
                  std::ostream& out) {
    const THeader& h = model.header;
    JsonWriter j(out);
    j.BeginObject();
    j.Key("format"), j.String(!format.empty() ? format : model.ReadFromMDC() ? "mdc" : "md3");
    j.Key("file"), j.String(path);
    // What follows describes the MD3 such a file converts to.
    if (!format.empty()) j.Key("convertedTo"), j.String("md3");
    j.Key("name"), j.String(NameFieldText(h.name));
    j.Key("version"), j.Int(FileVersion(model));
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
    PrintTagsJson(h.tags, FrameZeroTagCount(h), j);
    j.Key("surfaces"), j.Int(h.numSurfaces);
    j.Key("surfaceList");
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
        j.Key("vertices"), j.Int(s.numVerts);
        j.Key("triangles"), j.Int(s.numTriangles);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

void PrintTagFileText(const std::vector<TMD3Tag>& tags, const std::string& path,
                      std::ostream& out) {
    out << "File:     " << path << "\n"
        << "Format:   tag file (TAG3)\n"
        << "Tags:     " << tags.size() << "\n";
    PrintTagsText(tags, tags.size(), out);
}

void PrintTagFileJson(const std::vector<TMD3Tag>& tags, const std::string& path,
                      std::ostream& out) {
    JsonWriter j(out);
    j.BeginObject();
    j.Key("format"), j.String("tag");
    j.Key("file"), j.String(path);
    j.Key("tags"), j.Int(static_cast<std::int64_t>(tags.size()));
    PrintTagsJson(tags, tags.size(), j);
    j.EndObject();
}

TCharacterDescriber characterDescriber = nullptr;
TArchiveDescriber archiveDescriber = nullptr;

void PrintMD3(const TMD3& model, const std::string& path, const std::string& format, bool json,
              std::ostream& out) {
    json ? PrintMD3Json(model, path, format, out) : PrintMD3Text(model, path, format, out);
}

// MilkShape, 3ds Max ASCII and map files are described as the MD3 `convert` makes of them; a
// model past the MD3 range is scaled to fit and surfaces past the limits are split, so that
// it can be described at all.
bool DescribeImported(const std::string& path, bool json, std::ostream& out,
                      std::ostream& warnings) {
    const std::string ext = UpperCaseExtension(path);
    const char* format = ext == ".MS3D"  ? "ms3d"
                         : ext == ".ASE" ? "ase"
                         : ext == ".MAP" ? "map"
                                         : "";
    if (ext == ".GLB" || ext == ".GLTF") format = "gltf";
    if (*format == '\0') return false;
    const TModelSource source(path);
    TMD3 model;
    if (ext == ".MAP")
        MapToMD3(source.File(), model, {true, "", true}, warnings);
    else
        ImportToMD3(source.File(), model, {true, true, {}, {}, {}, {}}, warnings);
    PrintMD3(model, path, format, json, out);
    return true;
}

bool IsCharacter(const std::string& path) {
    return UpperCaseExtension(path) == ".CHAR";
}

bool IsShaderScript(const std::string& path) {
    return UpperCaseExtension(path) == ".SHADER";
}

// One file's description; throws CliError or FileError when it cannot be given. A shader
// script's directive counts are added to `scriptCounts`.
void Describe(const std::string& path, bool json, std::ostream& out, std::ostream& warnings,
              TDirectiveCounts& scriptCounts) {
    if (IsCharacter(path)) {
        if (characterDescriber == nullptr)
            throw CliError("Cannot load \"" + path + "\": this program reads no characters");
        return characterDescriber(path, json, out);
    }
    const std::string ext = UpperCaseExtension(path);
    if (ext == ".PK3") {
        if (archiveDescriber == nullptr)
            throw CliError("Cannot load \"" + path + "\": this program reads no archives");
        return archiveDescriber(path, json, out);
    }
    if (ext == ".SKIN") return DescribeSkin(path, json, out);
    if (ext == ".SHADER") return scriptCounts.Add(DescribeShaderScript(path, json, out));
    if (ext == ".ANIM") return DescribeAnimGroup(path, json, out);
    if (DescribeImported(path, json, out, warnings)) return;
    if (IsMDSFile(path)) return DescribeMDS(path, json, out);
    switch (DetectInputFormat(path)) {
        case ModelFormat::MD3: {
            TMD3 model;
            LoadMD3LayoutOrThrow(model, path);
            PrintMD3(model, path, "", json, out);
            return;
        }
        case ModelFormat::Tag: {
            std::vector<TMD3Tag> tags;
            std::string error;
            if (!ReadTagFile(TModelSource(path).File(), tags, error)) {
                throw CliError("Cannot load \"" + path + "\": " + error);
            }
            json ? PrintTagFileJson(tags, path, out) : PrintTagFileText(tags, path, out);
            return;
        }
        case ModelFormat::MDM:
            DescribeMDM(path, json, out, warnings);
            return;
        case ModelFormat::MDX:
            DescribeMDX(path, json, out);
            return;
        case ModelFormat::ANINC:
            DescribeANINC(path, json, out);
            return;
        case ModelFormat::Unknown:
            break;
    }
    throw CliError("Cannot load \"" + path + "\": unknown or unsupported model format");
}

}  // namespace

void InstallCharacterDescriber(TCharacterDescriber describer) {
    characterDescriber = describer;
}

void InstallArchiveDescriber(TArchiveDescriber describer) {
    archiveDescriber = describer;
}

bool AnyIsCharacter(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (IsCharacter(path)) return true;
    return false;
}

bool AnyIsArchive(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (!NamesArchiveEntry(path) && UpperCaseExtension(path) == ".PK3") return true;
    return false;
}

int RunInfo(const std::vector<std::string>& paths, bool json, std::ostream& out,
            std::ostream& err) {
    const bool several = paths.size() > 1;
    // Several files with shader scripts among them end with one summary over the scripts.
    const bool scriptSummary = several && std::any_of(paths.begin(), paths.end(), IsShaderScript);
    TDirectiveCounts scriptCounts;
    int result = 0;
    bool textShown = false;
    if (json && scriptSummary) out << "{\"files\":" << paths.size() << ",\"fileList\":";
    if (json && several) out << '[';
    for (std::size_t i = 0; i < paths.size(); ++i) {
        // Described into a buffer first, so that a file failing halfway shows nothing of it.
        std::ostringstream one;
        std::string error;
        try {
            TDirectiveCounts counts;
            Describe(paths[i], json, one, err, counts);
            scriptCounts.Add(counts);
        } catch (const std::bad_alloc&) {
            error = "Cannot load \"" + paths[i] + "\": out of memory";
        } catch (const std::exception& e) {
            error = e.what();
        }
        if (!error.empty()) {
            ReportError(err, error);
            result = kExitFailure;
        }
        if (json) {
            // Scripts always get a document to read, an unreadable file included.
            if (!error.empty()) {
                one.str({});
                JsonWriter j(one);
                j.BeginObject();
                j.Key("file"), j.String(paths[i]);
                j.Key("error"), j.String(error);
                j.EndObject();
            }
            if (several && i > 0) out << ',';
            out << one.str();
        } else if (error.empty()) {
            // Each file's block is set apart from the one before by a blank line.
            if (textShown) out << '\n';
            out << one.str();
            textShown = true;
        }
    }
    if (json && several) out << ']';
    if (json && scriptSummary) {
        out << ",\"summary\":";
        JsonWriter j(out);
        WriteDirectiveCountsJson(scriptCounts, j);
        out << '}';
    }
    if (json) out << '\n';
    if (!json && scriptSummary)
        out << "\nAll scripts: " << DirectiveCountsText(scriptCounts) << '\n';
    return result;
}
