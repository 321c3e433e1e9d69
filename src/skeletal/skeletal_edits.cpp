#include "skeletal/skeletal_edits.h"

#include "io/user_prompts.h"
#include "md3/md3.h"
#include "md3/md3_input.h"

const std::array<const char*, 53> kDefaultBoneNames = {
    "Bip01 Pelvis",     "Bip01 Spine",      "Bip01 Spine1",     "Bip01 Spine2",
    "Bip01 Spine3",     "Bip01 Neck",       "Bip01 Head",       "Bip01 L Clavicle",
    "Bip01 L UpperArm", "Bip01 L Forearm",  "Bip01 L Hand",     "Bip01 L Finger0",
    "Bip01 L Finger01", "Bip01 L Finger02", "Bip01 L Finger1",  "Bip01 L Finger11",
    "Bip01 L Finger12", "Bip01 L Finger2",  "Bip01 L Finger21", "Bip01 L Finger22",
    "Bip01 L Finger3",  "Bip01 L Finger31", "Bip01 L Finger32", "Bip01 L Finger4",
    "Bip01 L Finger41", "Bip01 L Finger42", "Bip01 R Clavicle", "Bip01 R UpperArm",
    "Bip01 R Forearm",  "Bip01 R Hand",     "Bip01 R Finger0",  "Bip01 R Finger01",
    "Bip01 R Finger02", "Bip01 R Finger1",  "Bip01 R Finger11", "Bip01 R Finger12",
    "Bip01 R Finger2",  "Bip01 R Finger21", "Bip01 R Finger22", "Bip01 R Finger3",
    "Bip01 R Finger31", "Bip01 R Finger32", "Bip01 R Finger4",  "Bip01 R Finger41",
    "Bip01 R Finger42", "Bip01 L Thigh",    "Bip01 L Calf",     "Bip01 L Foot",
    "Bip01 L Toe0",     "Bip01 R Thigh",    "Bip01 R Calf",     "Bip01 R Foot",
    "Bip01 R Toe0"};

bool SetDefaultBoneNames(TMDX& anim) {
    if (anim.bones.size() != kDefaultBoneNames.size()) return false;
    for (std::size_t i = 0; i < anim.bones.size(); ++i)
        SetNameField(kDefaultBoneNames[i], anim.bones[i].name);
    return true;
}

bool ScaleWeights(TMDM& mesh, float factor) {
    if (factor == 1.0f) return false;
    for (TMDMSurface& s : mesh.surfaces) {
        for (TMDMVertex& v : s.vertices) {
            for (TMDMWeight& w : v.weights)
                w.boneWeight *= factor;
        }
    }
    return true;
}

bool AskAndScaleWeights(TMDM& mesh, UserPrompts& prompts) {
    const std::optional<std::string> text =
        prompts.AskText("Scaling Factor", "Enter the scaling factor", "1.0");
    float factor = 1.0f;
    if (!text || !ParseDecimal(*text, factor)) return false;
    return ScaleWeights(mesh, factor);
}

std::string SmoothedStatusText(const TMDM& mesh, std::uint32_t surface) {
    const std::string name =
        surface < mesh.surfaces.size() ? NameFieldText(mesh.surfaces[surface].name) : "";
    return "Surface[\"" + name + "\"] smoothed..";
}
