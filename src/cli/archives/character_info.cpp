#include "cli/archives/character_info.h"

#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>

#include "assets/archive_entry_ref.h"
#include "assets/character_files.h"
#include "assets/character_sources.h"
#include "cli/cli_error.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "io/file_error.h"

namespace {

std::string FoundText(const std::string& gamePath, bool found) {
    if (gamePath.empty()) return "(none)";
    return Quoted(gamePath) + (found ? "" : " (not found)");
}

void PrintText(const TCharacterFiles& f, const std::string& path, std::ostream& out) {
    out << "File:       " << path << "\n"
        << "Format:     character definition (.char)\n"
        << "Mesh:       " << FoundText(f.def.mesh, !f.mesh.empty()) << "\n"
        << "Skin:       " << FoundText(CharacterSkinPath(f.def), !f.skin.empty()) << "\n"
        << "Group:      " << FoundText(f.def.animationGroup, !f.animationFiles.empty()) << "\n"
        << "Animation files: " << f.animationFiles.size() << "\n";
    for (std::size_t i = 0; i < f.animationFiles.size(); ++i) {
        out << "  [" << i << "] " << Quoted(f.animationFiles[i].mdx) << ", "
            << f.animationFiles[i].animations.frames.size()
            << (f.animationFiles[i].animations.frames.size() == 1 ? " animation\n"
                                                                  : " animations\n");
    }
    out << "Attachments: " << f.attachments.size() << "\n";
    for (std::size_t i = 0; i < f.attachments.size(); ++i) {
        const TCharacterAttachment& a = f.attachments[i];
        out << "  [" << i << "] " << a.slot << " " << Quoted(a.gamePath) << " on "
            << (a.onHead ? "the head's " : "") << Quoted(a.tag) << "\n";
    }
    out << "Missing:    " << f.missing.size() << "\n";
    for (const std::string& missing : f.missing)
        out << "  " << missing << "\n";
}

void PrintJson(const TCharacterFiles& f, const std::string& path, std::ostream& out) {
    JsonWriter j(out);
    const auto named = [&j](const char* key, const std::string& gamePath, bool found) {
        j.Key(key);
        j.BeginObject();
        j.Key("path"), j.String(gamePath);
        j.Key("found"), j.Bool(found);
        j.EndObject();
    };
    j.BeginObject();
    j.Key("format"), j.String("char");
    j.Key("file"), j.String(path);
    named("mesh", f.def.mesh, !f.mesh.empty());
    named("skin", CharacterSkinPath(f.def), !f.skin.empty());
    named("animationGroup", f.def.animationGroup, !f.animationFiles.empty());
    j.Key("animationFiles"), j.Int(static_cast<std::int64_t>(f.animationFiles.size()));
    j.Key("animationFileList");
    j.BeginArray();
    for (const TAnimGroupFile& file : f.animationFiles) {
        j.BeginObject();
        j.Key("mdx"), j.String(file.mdx);
        j.Key("animations"), j.Int(static_cast<std::int64_t>(file.animations.frames.size()));
        j.EndObject();
    }
    j.EndArray();
    j.Key("attachments"), j.Int(static_cast<std::int64_t>(f.attachments.size()));
    j.Key("attachmentList");
    j.BeginArray();
    for (const TCharacterAttachment& a : f.attachments) {
        j.BeginObject();
        j.Key("slot"), j.String(a.slot);
        j.Key("model"), j.String(a.gamePath);
        j.Key("tag"), j.String(a.tag);
        j.Key("onHead"), j.Bool(a.onHead);
        j.Key("ownSkin"), j.Bool(!a.skin.empty());
        j.EndObject();
    }
    j.EndArray();
    j.Key("missing"), j.Int(static_cast<std::int64_t>(f.missing.size()));
    j.Key("missingList");
    j.BeginArray();
    for (const std::string& missing : f.missing)
        j.String(missing);
    j.EndArray();
    j.EndObject();
}

}  // namespace

void DescribeCharacter(const std::string& path, bool json, std::ostream& out) {
    const std::optional<TArchiveEntryRef> inArchive = SplitArchiveEntryRef(path);
    std::unique_ptr<TModelSource> source;
    if (inArchive) source = std::make_unique<TModelSource>(path);
    const std::string file = source ? source->File() : path;
    if (!source && !std::filesystem::exists(file)) throw FileError::CannotOpen(path, ENOENT);
    const TCharacterSources sources("", inArchive ? inArchive->archive : "");
    const TCharacterFiles files = FindCharacterFiles(file, sources.Game());
    if (files.def.mesh.empty()) {
        throw CliError("Cannot load \"" + path + "\": " +
                       (files.missing.empty() ? std::string("not a character definition")
                                              : files.missing.front()));
    }
    json ? PrintJson(files, path, out) : PrintText(files, path, out);
}
