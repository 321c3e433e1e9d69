#include "assets/character_attachments.h"

#include "assets/skin.h"
#include "io/file_error.h"

std::optional<TAttachmentSlot> AttachmentSlotOf(std::string_view slot) {
    static const std::pair<const char*, TAttachmentSlot> kSlots[] = {
        {"md3_beltr", {"tag_bright", false}},  {"md3_beltl", {"tag_bleft", false}},
        {"md3_belt", {"tag_ubelt", false}},    {"md3_back", {"tag_back", false}},
        {"md3_weapon", {"tag_weapon", false}}, {"md3_weapon2", {"tag_weapon2", false}},
        {"md3_hat", {"tag_mouth", true}},      {"md3_hat2", {"tag_mouth", true}},
        {"md3_hat3", {"tag_mouth", true}},
    };
    for (const auto& [name, where] : kSlots)
        if (slot == name) return where;
    return std::nullopt;
}

TAttachmentSearch FindCharacterAttachments(const TCharacterDef& def, const std::string& bodySkin,
                                           const TGameFileFinder& find) {
    TAttachmentSearch search;
    const auto add = [&](const char* what, const std::string& slot, const std::string& gamePath,
                         std::string skin, const TAttachmentSlot& where) {
        TCharacterAttachment a{
            slot,      gamePath,    FindModelFile(gamePath, find), std::move(skin),
            where.tag, where.onHead};
        if (a.model.empty()) {
            search.missing.push_back(std::string(what) + " \"" + gamePath + "\" not found");
            return;
        }
        search.attachments.push_back(std::move(a));
    };
    if (!def.hudHead.empty()) {
        std::string headSkin;
        if (!def.hudHeadSkin.empty()) {
            headSkin = find(def.hudHeadSkin);
            if (headSkin.empty())
                search.missing.push_back("head skin \"" + def.hudHeadSkin + "\" not found");
        }
        add("head", kHeadSlot, def.hudHead, std::move(headSkin), {"tag_head", false});
    }
    if (bodySkin.empty()) return search;
    TSkin skin;
    try {
        LoadSkin(bodySkin, skin);
    } catch (const FileError& e) {
        search.missing.push_back(e.what());
        return search;
    }
    for (const TSkinRec& rec : skin) {
        const std::optional<TAttachmentSlot> where = AttachmentSlotOf(rec.surfaceName);
        if (!where) continue;
        const std::string ownSkin = def.skin.empty() ? "" : find(ModelSkinPath(rec.path, def.skin));
        add("accessory", rec.surfaceName, rec.path, ownSkin, *where);
    }
    return search;
}
