#include "cli/archives/archive_info.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <ostream>

#include "assets/pk3_archive.h"
#include "cli/info_command.h"
#include "cli/json_writer.h"

namespace {

std::string KindOf(const TArchiveEntry& entry) {
    std::string ext = std::filesystem::path(entry.FileName()).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext.empty() ? "(none)" : ext;
}

void DescribeArchive(const std::string& path, bool json, std::ostream& out) {
    const TPK3Archive archive(path);
    std::int64_t files = 0;
    std::uint64_t size = 0, compressed = 0;
    std::map<std::string, std::int64_t> kinds;  // by extension, sorted for a stable listing
    for (const TArchiveEntry& entry : archive.Entries()) {
        if (entry.IsFolder()) continue;
        ++files;
        size += entry.size;
        compressed += entry.compressedSize;
        ++kinds[KindOf(entry)];
    }
    if (json) {
        JsonWriter j(out);
        j.BeginObject();
        j.Key("format"), j.String("pk3");
        j.Key("file"), j.String(path);
        j.Key("files"), j.Int(files);
        j.Key("size"), j.Int(static_cast<std::int64_t>(size));
        j.Key("compressedSize"), j.Int(static_cast<std::int64_t>(compressed));
        j.Key("kindList");
        j.BeginArray();
        for (const auto& [extension, count] : kinds) {
            j.BeginObject();
            j.Key("extension"), j.String(extension);
            j.Key("files"), j.Int(count);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
        return;
    }
    out << "File:     " << path << "\n"
        << "Format:   archive (.pk3)\n"
        << "Files:    " << files << ", " << size << " bytes (" << compressed << " compressed)\n";
    for (const auto& [extension, count] : kinds)
        out << "  " << extension << ": " << count << "\n";
}

}  // namespace

void InstallArchiveDescription() {
    InstallArchiveDescriber(&DescribeArchive);
}
