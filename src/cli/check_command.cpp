#include "cli/check_command.h"

#include <optional>

#include "assets/archive_entry_ref.h"
#include "check/file_check.h"
#include "cli/cli_error.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "io/file_names.h"

namespace {

TArchiveCheckLister archiveLister = nullptr;
TShaderImageChecker shaderImageChecker = nullptr;

bool IsArchive(const std::string& argument) {
    return !NamesArchiveEntry(argument) && UpperCaseExtension(argument) == ".PK3";
}

// An archive entry is checked from its extracted copy, under the name it was given.
std::vector<TFileCheck> CheckArchiveEntry(const std::string& argument, const TEngineLimits& limits,
                                          const std::string& gameDir) {
    TModelSource source(argument);
    const std::optional<TArchiveEntryRef> ref = SplitArchiveEntryRef(argument);
    std::vector<TFileCheck> checks =
        CheckFiles({source.File()}, limits, {gameDir, ref ? ref->archive : ""});
    for (TFileCheck& check : checks)
        check.file = argument;
    return checks;
}

std::vector<TFileCheck> CheckArguments(const std::vector<std::string>& arguments,
                                       const TEngineLimits& limits, const std::string& gameDir) {
    std::vector<TFileCheck> checks;
    std::vector<std::string> plainFiles;
    auto flushPlain = [&] {
        for (TFileCheck& check : CheckFiles(plainFiles, limits, {gameDir, ""}))
            checks.push_back(std::move(check));
        plainFiles.clear();
    };
    for (const std::string& argument : arguments) {
        if (!IsArchive(argument) && !NamesArchiveEntry(argument)) {
            plainFiles.push_back(argument);
            continue;
        }
        // Plain files are checked together, so that a skin finds the models named with it.
        flushPlain();
        std::vector<std::string> entries;
        if (NamesArchiveEntry(argument)) {
            entries.push_back(argument);
        } else {
            if (archiveLister == nullptr) throw CliError("Cannot read archives in this program");
            try {
                for (const std::string& entry : archiveLister(argument))
                    entries.push_back(argument + ":" + entry);
            } catch (const std::exception& e) {
                checks.push_back({argument, {}, e.what()});
                continue;
            }
        }
        for (const std::string& entry : entries) {
            try {
                for (TFileCheck& check : CheckArchiveEntry(entry, limits, gameDir))
                    checks.push_back(std::move(check));
            } catch (const std::exception& e) {
                checks.push_back({entry, {}, e.what()});
            }
        }
    }
    flushPlain();
    return checks;
}

// Only scripts given as files: an archive's entries are gone once they were checked.
void AddMissingShaderImages(std::vector<TFileCheck>& checks, const std::string& gameDir) {
    if (shaderImageChecker == nullptr) throw CliError("Cannot read the game in this program");
    for (TFileCheck& check : checks) {
        if (!check.error.empty() || UpperCaseExtension(check.file) != ".SHADER" ||
            NamesArchiveEntry(check.file))
            continue;
        try {
            for (const TCheckFinding& f : shaderImageChecker(check.file, gameDir))
                check.findings.push_back(f);
        } catch (const std::exception& e) {
            check.error = e.what();
            check.findings.clear();
        }
    }
}

void PrintText(const std::vector<TFileCheck>& checks, std::ostream& out) {
    for (const TFileCheck& check : checks) {
        if (!check.error.empty()) continue;
        if (check.findings.empty()) {
            out << check.file << ": clean\n";
            continue;
        }
        out << check.file << ": " << check.findings.size()
            << (check.findings.size() == 1 ? " finding\n" : " findings\n");
        for (const TCheckFinding& finding : check.findings)
            out << "  " << FindingText(finding) << "\n";
    }
}

void PrintJson(const std::vector<TFileCheck>& checks, const TEngineLimits& limits,
               std::ostream& out) {
    JsonWriter j(out);
    j.BeginObject();
    j.Key("engine"), j.String(limits.name);
    j.Key("files"), j.BeginArray();
    for (const TFileCheck& check : checks) {
        j.BeginObject();
        j.Key("file"), j.String(check.file);
        if (!check.error.empty()) {
            j.Key("error"), j.String(check.error);
        } else {
            j.Key("findings"), j.BeginArray();
            for (const TCheckFinding& finding : check.findings) {
                j.BeginObject();
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
    j.EndObject();
    out << "\n";
}

}  // namespace

CLI::App* AddCheckCommand(CLI::App& app, TCheckArguments& arguments) {
    CLI::App* check = app.add_subcommand(
        "check",
        "List what an engine would refuse in models (.md3, .mdm, .mdx, .mds), tag files, skins, "
        "animation lists (.aninc), shader scripts, characters (.char with all they name) or "
        "every such file of a .pk3; exit 0 clean, "
        "2 findings, 1 unreadable");
    check->add_option("FILE", arguments.files, "Files, archives or archive entries to check")
        ->required();
    check->add_option("--engine", arguments.engine, "Engine whose limits apply (default et)")
        ->check(CLI::IsMember({"et", "etlegacy", "ioq3"}));
    check->add_flag("--json", arguments.json, "Print one JSON object");
    check->add_option("--game", arguments.game,
                      "Game folder in which the images of shader scripts must be found");
    return check;
}

void InstallArchiveCheckLister(TArchiveCheckLister lister) {
    archiveLister = lister;
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
    std::vector<TFileCheck> checks = CheckArguments(arguments.files, limits, arguments.game);
    if (!arguments.game.empty()) AddMissingShaderImages(checks, arguments.game);
    bool unreadable = false, violations = false;
    for (const TFileCheck& check : checks) {
        if (!check.error.empty()) {
            ReportError(err, check.error);
            unreadable = true;
        }
        violations = violations || !check.findings.empty();
    }
    if (arguments.json)
        PrintJson(checks, limits, out);
    else
        PrintText(checks, out);
    return unreadable ? kExitFailure : violations ? kExitViolations : 0;
}
