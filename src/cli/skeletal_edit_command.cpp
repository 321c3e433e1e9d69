#include "cli/skeletal_edit_command.h"

#include <filesystem>
#include <functional>
#include <optional>

#include "cli/cli_error.h"
#include "cli/edit_values.h"
#include "cli/model_files.h"
#include "cli/skeletal_files.h"
#include "skeletal/skeletal_edits.h"

namespace {

const std::vector<EditOptionInfo> kSkeletalOptions = {
    {"--mdx", "ANIM.mdx", "MDM: the animation that poses the mesh for the normal edits"},
    {"--scale-weights", "F", "MDM: multiply every vertex weight by F"},
    {"--recalc-normals-at", "FRAME", "MDM: recalculate the normals posed at FRAME"},
    {"--default-bone-names", "", "MDX: give the 53 bones of the player skeleton their names"},
};

struct SkeletalModels {
    TMDM mesh;
    TMDX anim;
};

using SkeletalStep = std::function<void(SkeletalModels&)>;

std::string Describe(const EditOperation& op) {
    return op.value.empty() ? op.option : op.option + " " + op.value;
}

void RequireFrame(const TMDX& anim, std::uint32_t frame) {
    if (frame >= anim.frames.size()) {
        FailOperation("the animation has no frame " + std::to_string(frame) + " (it has " +
                      std::to_string(anim.frames.size()) + ")");
    }
}

// What an operation does to a mesh; throws OperationError for values that cannot be used.
SkeletalStep PlanMeshStep(const EditOperation& op, bool hasAnimation) {
    const std::string& o = op.option;
    if (o == "--scale-weights") {
        const float factor = ParseNumber(op.value);
        return [factor](SkeletalModels& m) { ScaleWeights(m.mesh, factor); };
    }
    if (o == "--remove-surface") {
        const int surface = ParseIndex(op.value);
        return [surface](SkeletalModels& m) {
            if (!m.mesh.RemoveSurface(surface)) {
                FailOperation("the mesh has no surface " + std::to_string(surface) + " (it has " +
                              std::to_string(m.mesh.surfaces.size()) + ")");
            }
        };
    }
    if (o != "--recalc-normals" && o != "--recalc-normals-at" && o != "--smooth") {
        FailOperation(o == "--default-bone-names" ? "applies to MDX animations"
                                                  : "applies to MD3 models");
    }
    if (!hasAnimation) FailOperation("the mesh must be posed: give its animation with --mdx");
    if (o == "--smooth") {
        const auto surface = static_cast<std::uint32_t>(ParseIndex(op.value));
        return [surface](SkeletalModels& m) {
            if (!m.mesh.ValidSurface(static_cast<int>(surface))) {
                FailOperation("the mesh has no surface " + std::to_string(surface) + " (it has " +
                              std::to_string(m.mesh.surfaces.size()) + ")");
            }
            RequireFrame(m.anim, 0);
            SmoothSurface(m.mesh, m.anim, surface);
        };
    }
    const auto frame =
        o == "--recalc-normals" ? 0u : static_cast<std::uint32_t>(ParseIndex(op.value));
    return [frame](SkeletalModels& m) {
        RequireFrame(m.anim, frame);
        RecalculateAllNormals(m.mesh, m.anim, frame);
    };
}

SkeletalStep PlanAnimationStep(const EditOperation& op) {
    if (op.option != "--default-bone-names") {
        const std::string& o = op.option;
        if (o == "--remove-surface" || o == "--smooth" || o == "--recalc-normals")
            FailOperation("applies to MD3 models and MDM meshes");
        FailOperation(o == "--mdx" || o == "--scale-weights" || o == "--recalc-normals-at"
                          ? "applies to MDM meshes"
                          : "applies to MD3 models");
    }
    return [](SkeletalModels& m) {
        if (!SetDefaultBoneNames(m.anim)) {
            FailOperation("the animation has " + std::to_string(m.anim.bones.size()) +
                          " bones, the player skeleton 53");
        }
    };
}

std::string FailureText(const std::string& input, const EditOperation& op,
                        const std::string& reason) {
    return "Cannot edit \"" + input + "\": " + Describe(op) + ": " + reason;
}

}  // namespace

const std::vector<EditOptionInfo>& SkeletalEditOptions() {
    return kSkeletalOptions;
}

bool IsSkeletalEditOption(const std::string& option) {
    for (const EditOptionInfo& info : kSkeletalOptions) {
        if (option == info.option) return true;
    }
    return false;
}

int RunSkeletalEdit(const std::string& input, const std::string& output,
                    const std::vector<EditOperation>& operations, std::ostream& warnings) {
    const ModelFormat format = FormatFromExtension(input);
    const bool mesh = format == ModelFormat::MDM;
    if (FormatFromExtension(output) != format) {
        throw UsageError(
            "Cannot write \"" + output + "\": an edited " +
            (mesh ? "MDM mesh is written as .mdm" : "MDX animation is written as .mdx"));
    }
    std::optional<std::string> animPath;
    for (const EditOperation& op : operations) {
        if (op.option != "--mdx" || !mesh) continue;
        if (animPath)
            throw UsageError(FailureText(input, op, "only one animation can pose the mesh"));
        animPath = op.value;
    }
    std::vector<SkeletalStep> steps;
    std::vector<const EditOperation*> planned;
    for (const EditOperation& op : operations) {
        if (mesh && op.option == "--mdx") continue;
        try {
            steps.push_back(mesh ? PlanMeshStep(op, animPath.has_value()) : PlanAnimationStep(op));
            planned.push_back(&op);
        } catch (const OperationError& e) {
            throw UsageError(FailureText(input, op, e.what()));
        }
    }

    SkeletalModels models;
    if (mesh) {
        LoadMDMOrThrow(models.mesh, input, warnings);
        if (animPath) {
            LoadMDXOrThrow(models.anim, *animPath);
            RequirePosable(models.mesh, input, models.anim, *animPath);
        }
    } else {
        LoadMDXOrThrow(models.anim, input);
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        try {
            steps[i](models);
        } catch (const OperationError& e) {
            throw CliError(FailureText(input, *planned[i], e.what()));
        }
    }
    const bool saved = mesh ? models.mesh.SaveToFile(output) : models.anim.SaveToFile(output);
    if (!saved) {
        throw CliError("Cannot write \"" + output +
                       "\": " + (mesh ? models.mesh.LastError() : models.anim.LastError()));
    }
    return 0;
}
