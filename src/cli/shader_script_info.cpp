#include "cli/shader_script_info.h"

#include <cstdio>
#include <map>
#include <vector>

#include "check/shader_image_names.h"
#include "cli/cli_error.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"
#include "io/file_bytes.h"
#include "shader/shader_directive_lines.h"
#include "shader/shader_lines.h"

namespace {

// Far above any script a game ships.
constexpr std::int64_t kMaxScriptBytes = 64 << 20;

std::string ReadScript(const std::string& path) {
    const TModelSource source(path);
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(source.File(), kMaxScriptBytes, bytes, error))
        throw CliError("Cannot load \"" + path + "\": " + error);
    return std::string(bytes.begin(), bytes.end());
}

struct TMarkedDirective {
    const TShaderDirective* directive;
    TDirectiveVerdict verdict;
};

std::string VerdictText(const TDirectiveVerdict& verdict, bool inStage) {
    switch (verdict.support) {
        case DirectiveSupport::Drawn:
            return "drawn";
        case DirectiveSupport::NotApplicable:
            return "not applicable to models: " + std::string(verdict.reason);
        case DirectiveSupport::NotDrawn:
            break;
    }
    if (!verdict.unknown) return "not drawn";
    return inStage ? "not drawn: unknown in a stage" : "not drawn: unknown in a shader's header";
}

// What the not-drawn summary groups by: the keyword, and its form where that decides.
std::string NotDrawnLabel(const TMarkedDirective& marked) {
    const std::vector<std::string>& words = marked.directive->words;
    std::string label = words[0];
    if (marked.verdict.byForm && words.size() > 1) label += ' ' + words[1];
    return label;
}

}  // namespace

std::string DirectiveCountsText(const TDirectiveCounts& counts) {
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.1f", counts.NotDrawnPercent());
    return std::to_string(counts.drawn) + " drawn, " + std::to_string(counts.notApplicable) +
           " not applicable to models, " + std::to_string(counts.notDrawn) + " not drawn (" +
           percent + "% of the directives that apply to models)";
}

void WriteDirectiveCountsJson(const TDirectiveCounts& counts, JsonWriter& j) {
    j.BeginObject();
    j.Key("drawn"), j.Int(counts.drawn);
    j.Key("notApplicable"), j.Int(counts.notApplicable);
    j.Key("notDrawn"), j.Int(counts.notDrawn);
    j.EndObject();
}

TDirectiveCounts DescribeShaderScript(const std::string& path, bool json, std::ostream& out) {
    const std::string text = ReadScript(path);
    const std::vector<TScriptShader> shaders = ListShaderDirectives(text);
    std::map<std::string, std::vector<std::string>> images;
    for (const TShaderImageName& name : ShaderImageNames(text))
        images[name.shader].push_back(name.image);
    auto imagesOf = [&images](const std::string& shader) -> const std::vector<std::string>& {
        static const std::vector<std::string> kNone;
        const auto found = images.find(shader);
        return found == images.end() ? kNone : found->second;
    };

    TDirectiveCounts counts;
    // Keyed by the lower-cased label, so that "rgbGen Vertex" and "rgbgen vertex" are one.
    std::map<std::string, std::pair<std::string, std::int64_t>> notDrawn;
    std::vector<std::vector<TMarkedDirective>> marked(shaders.size());
    for (std::size_t s = 0; s < shaders.size(); ++s) {
        for (const TShaderDirective& d : shaders[s].directives) {
            const TDirectiveVerdict verdict = ClassifyShaderDirective(d.words, d.stage > 0);
            marked[s].push_back({&d, verdict});
            counts.Add(verdict.support);
            if (verdict.support != DirectiveSupport::NotDrawn) continue;
            const std::string label = NotDrawnLabel(marked[s].back());
            auto& entry = notDrawn[LowerCase(label)];
            if (entry.first.empty()) entry.first = label + (verdict.unknown ? " (unknown, " : " (");
            ++entry.second;
        }
    }

    if (json) {
        JsonWriter j(out);
        j.BeginObject();
        j.Key("format"), j.String("shader");
        j.Key("file"), j.String(path);
        j.Key("shaders"), j.Int(static_cast<std::int64_t>(shaders.size()));
        j.Key("shaderList");
        j.BeginArray();
        for (std::size_t s = 0; s < shaders.size(); ++s) {
            j.BeginObject();
            j.Key("name"), j.String(shaders[s].name);
            j.Key("stages"), j.Int(shaders[s].stages);
            j.Key("images");
            j.BeginArray();
            for (const std::string& image : imagesOf(shaders[s].name))
                j.String(image);
            j.EndArray();
            j.Key("directives"), j.Int(static_cast<std::int64_t>(marked[s].size()));
            j.Key("directiveList");
            j.BeginArray();
            for (const TMarkedDirective& m : marked[s]) {
                j.BeginObject();
                j.Key("line"), j.Int(m.directive->line);
                j.Key("stage"), j.Int(m.directive->stage);
                j.Key("text"), j.String(DirectiveText(*m.directive));
                j.Key("support"), j.String(DirectiveSupportKey(m.verdict.support));
                if (!m.verdict.reason.empty()) j.Key("reason"), j.String(m.verdict.reason);
                if (m.verdict.unknown) j.Key("unknown"), j.Bool(true);
                j.EndObject();
            }
            j.EndArray();
            j.EndObject();
        }
        j.EndArray();
        j.Key("summary");
        WriteDirectiveCountsJson(counts, j);
        j.EndObject();
        return counts;
    }

    out << "File:     " << path << "\n"
        << "Format:   shader script\n"
        << "Shaders:  " << shaders.size() << "\n";
    for (std::size_t s = 0; s < shaders.size(); ++s) {
        out << "  [" << s << "] " << Quoted(shaders[s].name) << ", " << shaders[s].stages
            << (shaders[s].stages == 1 ? " stage" : " stages");
        for (const std::string& image : imagesOf(shaders[s].name))
            out << ' ' << Quoted(image);
        out << "\n";
        std::int64_t stage = 0;
        for (const TMarkedDirective& m : marked[s]) {
            if (m.directive->stage != stage) {
                stage = m.directive->stage;
                out << (stage == 0 ? "      header\n"
                                   : "      stage " + std::to_string(stage) + "\n");
            }
            out << (stage == 0 ? "      " : "        ") << "line " << m.directive->line << ": "
                << Quoted(DirectiveText(*m.directive)) << " - " << VerdictText(m.verdict, stage > 0)
                << "\n";
        }
    }
    out << "Summary:  " << DirectiveCountsText(counts) << "\n";
    if (!notDrawn.empty()) {
        out << "Not drawn:";
        const char* separator = " ";
        for (const auto& [key, entry] : notDrawn) {
            out << separator << entry.first << entry.second
                << (entry.second == 1 ? " line)" : " lines)");
            separator = "; ";
        }
        out << "\n";
    }
    return counts;
}
