#include "cli/render/render_batch.h"

#include <filesystem>
#include <map>
#include <vector>

#include "assets/archive_entry_ref.h"
#include "assets/pk3_archive.h"
#include "cli/cli_error.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "cli/render/render_command.h"

namespace fs = std::filesystem;

namespace {

struct TBatchResult {
    std::string input;
    std::string output;
    std::string error;  // empty when the picture was written
};

bool IsMask(const std::string& entry) {
    return entry.find_first_of("*?") != std::string::npos;
}

// Archive entries named by a mask become one input each; an archive that cannot be read or
// a mask that matches nothing is a failed result of its own.
std::vector<TBatchResult> ExpandInputs(const std::vector<std::string>& inputs) {
    std::vector<TBatchResult> results;
    for (const std::string& input : inputs) {
        const std::optional<TArchiveEntryRef> ref = SplitArchiveEntryRef(input);
        if (!ref || !IsMask(ref->entry)) {
            results.push_back({input, {}, {}});
            continue;
        }
        try {
            const TPK3Archive pk3(ref->archive);
            const std::vector<const TArchiveEntry*> entries = pk3.FindAll(ref->entry);
            if (entries.empty()) {
                results.push_back({input, {}, "Cannot render \"" + input + "\": no entry matches"});
            }
            for (const TArchiveEntry* entry : entries)
                results.push_back({ref->archive + ":" + entry->name, {}, {}});
        } catch (const std::exception& e) {
            results.push_back({input, {}, e.what()});
        }
    }
    return results;
}

// A message about the scratch copy of an archive entry, told about the entry the user named.
std::string NamingTheInput(std::string message, const std::string& file, const std::string& input) {
    if (file == input || file.empty()) return message;
    for (std::size_t at = message.find(file); at != std::string::npos;
         at = message.find(file, at + input.size()))
        message.replace(at, file.size(), input);
    return message;
}

void WriteJson(const std::vector<TBatchResult>& results, std::ostream& out) {
    JsonWriter j(out);
    j.BeginObject();
    j.Key("results"), j.Int(static_cast<std::int64_t>(results.size()));
    j.Key("resultList");
    j.BeginArray();
    for (const TBatchResult& r : results) {
        j.BeginObject();
        j.Key("file"), j.String(r.input);
        if (!r.output.empty()) j.Key("output"), j.String(r.output);
        j.Key("ok"), j.Bool(r.error.empty());
        if (!r.error.empty()) j.Key("error"), j.String(r.error);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    out << '\n';
}

}  // namespace

std::string BatchPictureName(const std::string& input) {
    const std::optional<TArchiveEntryRef> ref = SplitArchiveEntryRef(input);
    fs::path name = ref ? fs::path(ref->entry).lexically_normal() : fs::path(input).filename();
    if (name.empty() || name.is_absolute() || *name.begin() == "..") return {};
    return name.replace_extension(".png").string();
}

int RunRenderBatch(const TRenderArguments& arguments, std::ostream& out, std::ostream& err) {
    const TRenderOptions base = ResolveRenderOptions(arguments);
    std::vector<TBatchResult> results = ExpandInputs(arguments.files);
    // Two models with one picture name would silently leave only the last picture.
    std::map<std::string, std::string> pictureOwners;
    TRenderContext context;
    for (TBatchResult& r : results) {
        if (!r.error.empty()) continue;
        try {
            const std::string name = BatchPictureName(r.input);
            if (name.empty())
                throw CliError("Cannot render \"" + r.input + "\": its name leaves --out-dir");
            r.output = (fs::path(arguments.outDir) / name).string();
            const auto [owner, added] = pictureOwners.emplace(r.output, r.input);
            if (!added) {
                throw UsageError("Cannot render \"" + r.input + "\": \"" + r.output +
                                 "\" is already the picture of \"" + owner->second + "\"");
            }
            TRenderOptions o = base;
            o.model = r.input;
            o.output = r.output;
            CheckRenderModel(o);
            const TModelSource source(r.input);
            o.model = source.File();
            fs::create_directories(fs::path(r.output).parent_path());
            try {
                RunRender(o, err, &context);
            } catch (const std::exception& e) {
                throw CliError(NamingTheInput(e.what(), source.File(), r.input));
            }
        } catch (const std::exception& e) {
            r.error = e.what();
        }
    }
    bool allWritten = true;
    for (const TBatchResult& r : results) {
        if (r.error.empty()) continue;
        allWritten = false;
        if (!arguments.json) ReportError(err, r.error);
    }
    if (arguments.json) WriteJson(results, out);
    return allWritten ? 0 : kExitFailure;
}
