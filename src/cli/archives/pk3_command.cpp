#include "cli/archives/pk3_command.h"

#include <CLI/CLI.hpp>
#include <set>

#include "assets/pk3_archive.h"
#include "cli/cli_error.h"
#include "cli/json_writer.h"

int RunPk3(const CLI::App& pk3, const TPk3Options& options, std::ostream& out, std::ostream& err) {
    if (pk3.got_subcommand("list"))
        return RunPk3List(options.archive, options.listMask, options.json, out);
    return RunPk3Extract(options.archive, options.extractMasks, options.targetDir, out, err);
}

int RunPk3List(const std::string& archive, const std::string& mask, bool json, std::ostream& out) {
    const TPK3Archive pk3(archive);
    const std::vector<const TArchiveEntry*> entries = pk3.FindAll(mask);
    if (!json) {
        for (const TArchiveEntry* entry : entries)
            out << entry->name << '\n';
        return 0;
    }
    JsonWriter j(out);
    j.BeginObject();
    j.Key("file"), j.String(archive);
    j.Key("entries"), j.Int(static_cast<std::int64_t>(entries.size()));
    j.Key("entryList");
    j.BeginArray();
    for (const TArchiveEntry* entry : entries) {
        j.BeginObject();
        j.Key("name"), j.String(entry->name);
        j.Key("size"), j.Int(static_cast<std::int64_t>(entry->size));
        j.Key("compressedSize"), j.Int(static_cast<std::int64_t>(entry->compressedSize));
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    out << '\n';
    return 0;
}

int RunPk3Extract(const std::string& archive, const std::vector<std::string>& masks,
                  const std::string& targetDir, std::ostream& out, std::ostream& err) {
    const TPK3Archive pk3(archive);
    const std::vector<std::string> wanted = masks.empty() ? std::vector<std::string>{"*"} : masks;
    // An entry several masks match is written once.
    std::set<std::uint64_t> seen;
    std::vector<const TArchiveEntry*> entries;
    for (const std::string& mask : wanted) {
        for (const TArchiveEntry* entry : pk3.FindAll(mask)) {
            if (seen.insert(entry->index).second) entries.push_back(entry);
        }
    }
    // One extraction, so that its bound on the bytes written covers every mask.
    const TExtractReport report = pk3.Extract(entries, targetDir);
    for (const std::string& problem : report.problems)
        ReportError(err, problem);
    out << "Extracted " << report.written.size() << " of " << seen.size() << " files into "
        << targetDir << '\n';
    return report.ok() ? 0 : 1;
}
