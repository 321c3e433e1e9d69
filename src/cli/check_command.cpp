#include "cli/check_command.h"

#include <new>
#include <optional>

#include "assets/archive_entry_ref.h"
#include "check/file_check.h"
#include "cli/cli_error.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "io/file_names.h"
#include "io/scratch_folder.h"

namespace {

TArchiveCheckExtractor archiveExtractor = nullptr;
TShaderImageChecker shaderImageChecker = nullptr;

bool IsArchive(const std::string& argument) {
    return !NamesArchiveEntry(argument) && UpperCaseExtension(argument) == ".PK3";
}

// With a game folder, the images a script names must be in the game.
void AddMissingShaderImages(TFileCheck& check, const std::string& scriptFile,
                            const std::string& gameDir) {
    if (gameDir.empty() || !check.error.empty() || UpperCaseExtension(scriptFile) != ".SHADER")
        return;
    if (shaderImageChecker == nullptr) throw CliError("Cannot read the game in this program");
    for (const TCheckFinding& f : shaderImageChecker(scriptFile, gameDir))
        check.findings.push_back(f);
}

// Checks `files` as one set, each under the name in `names`.
void CheckSet(const std::vector<std::string>& files, const std::vector<std::string>& names,
              const TEngineLimits& limits, const TCheckSources& sources,
              std::vector<TFileCheck>& checks) {
    std::vector<TFileCheck> set = CheckFiles(files, limits, sources);
    for (std::size_t i = 0; i < set.size(); ++i) {
        TFileCheck& check = set[i];
        try {
            AddMissingShaderImages(check, files[i], sources.gameDir);
        } catch (const std::exception& e) {
            check.error = e.what();
            check.findings.clear();
        }
        // A reader names the copy it read; the user named the archive entry.
        if (const std::size_t at = check.error.find(files[i]); at != std::string::npos)
            check.error.replace(at, files[i].size(), names[i]);
        check.file = names[i];
        checks.push_back(std::move(check));
    }
}

// An archive, or one entry of it, is checked from copies taken out together with the entries
// the game pairs them with, so that a skin finds its model and an .mdx its .aninc there too.
void CheckArchive(const std::string& argument, const TEngineLimits& limits,
                  const std::string& gameDir, std::vector<TFileCheck>& checks) {
    if (archiveExtractor == nullptr) throw CliError("Cannot read archives in this program");
    const std::optional<TArchiveEntryRef> ref = SplitArchiveEntryRef(argument);
    const std::string archive = ref ? ref->archive : argument;
    TScratchFolder scratch("veldra-check-");
    const std::vector<TExtractedCheckEntry> extracted =
        archiveExtractor(archive, ref ? ref->entry : "", scratch.Path());
    std::vector<std::string> files, names;
    auto flush = [&] {
        CheckSet(files, names, limits, {gameDir, archive}, checks);
        files.clear();
        names.clear();
    };
    for (const TExtractedCheckEntry& entry : extracted) {
        if (!entry.requested) continue;
        const std::string name = ref ? argument : archive + ":" + entry.entry;
        if (entry.file.empty()) {
            flush();  // keeps the archive's order
            checks.push_back({name, {}, entry.error});
            continue;
        }
        files.push_back(entry.file);
        names.push_back(name);
    }
    flush();
}

std::vector<TFileCheck> CheckArguments(const std::vector<std::string>& arguments,
                                       const TEngineLimits& limits, const std::string& gameDir) {
    std::vector<TFileCheck> checks;
    std::vector<std::string> plainFiles;
    auto flushPlain = [&] {
        CheckSet(plainFiles, plainFiles, limits, {gameDir, ""}, checks);
        plainFiles.clear();
    };
    for (const std::string& argument : arguments) {
        if (!IsArchive(argument) && !NamesArchiveEntry(argument)) {
            plainFiles.push_back(argument);
            continue;
        }
        flushPlain();
        try {
            CheckArchive(argument, limits, gameDir, checks);
        } catch (const std::bad_alloc&) {
            checks.push_back({argument, {}, "Cannot check \"" + argument + "\": out of memory"});
        } catch (const std::exception& e) {
            checks.push_back({argument, {}, e.what()});
        }
    }
    flushPlain();
    return checks;
}

// An error line names its file even where the reader's message does not.
std::string ErrorLine(const TFileCheck& check) {
    if (check.error.find(check.file) != std::string::npos) return check.error;
    return check.file + ": " + check.error;
}

void PrintText(const std::vector<TFileCheck>& checks, std::ostream& out) {
    for (const TFileCheck& check : checks) {
        if (!check.error.empty()) continue;
        if (check.findings.empty()) out << check.file << ": clean\n";
        // One line per finding, each naming its file, so that the lines can be filtered.
        for (const TCheckFinding& finding : check.findings) {
            out << check.file << ": " << (finding.severity == TSeverity::Error ? "error: " : "")
                << FindingText(finding) << "\n";
        }
    }
}

void PrintJson(const std::vector<TFileCheck>& checks, const TEngineLimits& limits,
               std::ostream& out) {
    std::int64_t errors = 0, warnings = 0, unreadable = 0;
    JsonWriter j(out);
    j.BeginObject();
    j.Key("engine"), j.String(limits.name);
    j.Key("files"), j.BeginArray();
    for (const TFileCheck& check : checks) {
        j.BeginObject();
        j.Key("file"), j.String(check.file);
        if (!check.error.empty()) {
            ++unreadable;
            j.Key("error"), j.String(check.error);
        } else {
            j.Key("findings"), j.BeginArray();
            for (const TCheckFinding& finding : check.findings) {
                ++(finding.severity == TSeverity::Error ? errors : warnings);
                j.BeginObject();
                j.Key("severity"), j.String(SeverityName(finding.severity));
                j.Key("what"), j.String(finding.what);
                if (finding.counted) {
                    j.Key("value"), j.Int(finding.value);
                    j.Key("limit"), j.Int(finding.limit);
                }
                j.Key("where"), j.String(finding.where);
                j.Key("text"), j.String(FindingText(finding));
                j.EndObject();
            }
            j.EndArray();
        }
        j.EndObject();
    }
    j.EndArray();
    j.Key("errors"), j.Int(errors);
    j.Key("warnings"), j.Int(warnings);
    j.Key("unreadable"), j.Int(unreadable);
    j.EndObject();
    out << "\n";
}

}  // namespace

CLI::App* AddCheckCommand(CLI::App& app, TCheckArguments& arguments) {
    CLI::App* check = app.add_subcommand(
        "check",
        "List what an engine would refuse in models (.md3, .mdc, .mdm, .mdx, .mds), tag files, "
        "skins, "
        "animation lists (.aninc), shader scripts, characters (.char with all they name) or "
        "every such file of a .pk3; exit 0 clean or warnings only, 3 errors found, 1 a file "
        "could not be read");
    check->add_option("FILE", arguments.files, "Files, archives or archive entries to check")
        ->required();
    check->add_option("--engine", arguments.engine, "Engine whose limits apply (default et)")
        ->check(CLI::IsMember({"et", "etlegacy", "ioq3"}));
    check->add_flag("--json", arguments.json, "Print one JSON object");
    check->add_option("--game", arguments.game,
                      "Game folder in which the images of shader scripts must be found");
    return check;
}

void InstallArchiveCheckExtractor(TArchiveCheckExtractor extractor) {
    archiveExtractor = extractor;
}

void InstallShaderImageChecker(TShaderImageChecker checker) {
    shaderImageChecker = checker;
}

bool CheckNeedsArchives(const TCheckArguments& arguments) {
    if (!arguments.game.empty()) return true;
    for (const std::string& file : arguments.files) {
        if (IsArchive(file) || NamesArchiveEntry(file)) return true;
        // What a character names may lie in the game's archives.
        if (UpperCaseExtension(file) == ".CHAR") return true;
    }
    return false;
}

int RunCheck(const TCheckArguments& arguments, std::ostream& out, std::ostream& err) {
    const TEngineLimits& limits = LimitsOf(EngineNamed(arguments.engine).value_or(TEngine::ET));
    const std::vector<TFileCheck> checks = CheckArguments(arguments.files, limits, arguments.game);
    bool unreadable = false, errors = false;
    for (const TFileCheck& check : checks) {
        if (!check.error.empty()) {
            ReportError(err, ErrorLine(check));
            unreadable = true;
        }
        errors = errors || HasErrors(check.findings);
    }
    if (arguments.json)
        PrintJson(checks, limits, out);
    else
        PrintText(checks, out);
    return unreadable ? kExitFailure : errors ? kExitCheckErrors : 0;
}
