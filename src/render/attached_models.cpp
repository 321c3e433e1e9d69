#include "render/attached_models.h"

#include "assets/archive_names.h"
#include "io/file_error.h"
#include "render/thumbnail_framing.h"

TAttachedModels LoadAttachedModels(const std::vector<TCharacterAttachment>& attachments,
                                   std::vector<std::string>& problems) {
    TAttachedModels models;
    for (const TCharacterAttachment& a : attachments) {
        TAttachedModel m;
        m.where = a;
        std::string reason;
        try {
            if (!m.model.LoadFromFile(a.model)) reason = m.model.LastError();
        } catch (const FileError& e) {
            reason = e.what();
        }
        if (reason.empty() && m.model.header.numFrames < 1) reason = "it has no frame";
        if (!reason.empty()) {
            problems.push_back("\"" + a.model + "\" not shown: " + reason);
            continue;
        }
        // The indexes in the file name entries of a store that is not this one.
        for (TSurface& s : m.model.header.surfaces)
            for (TMD3Shader& shader : s.shaders)
                shader.shaderIndex = -1;
        models.push_back(std::move(m));
    }
    return models;
}

std::optional<TOrientation> MD3TagOrientation(const TMD3& model, int frame,
                                              const std::string& name) {
    const THeader& h = model.header;
    if (frame < 0 || frame >= h.numFrames || h.numTags <= 0 ||
        h.tags.size() < static_cast<std::size_t>(h.numFrames) * h.numTags)
        return std::nullopt;
    const std::string wanted = LowerCaseAscii(name);
    for (int t = 0; t < h.numTags; ++t) {
        const TMD3Tag& tag = h.tags[static_cast<std::size_t>(frame) * h.numTags + t];
        if (LowerCaseAscii(NameFieldText(tag.name)) != wanted) continue;
        TOrientation o;
        o.origin = tag.origin;
        for (int i = 0; i < 3; ++i)
            o.axis[i] = tag.axis[i];
        return o;
    }
    return std::nullopt;
}

std::vector<std::optional<TOrientation>> PlaceAttachedModels(const TAttachedModels& models,
                                                             const TBodyTagFinder& bodyTag) {
    std::optional<TOrientation> head;
    const TMD3* headModel = nullptr;
    for (const TAttachedModel& m : models) {
        if (m.where.slot != kHeadSlot) continue;
        head = bodyTag(m.where.tag);
        headModel = &m.model;
        break;
    }
    std::vector<std::optional<TOrientation>> placed;
    placed.reserve(models.size());
    for (const TAttachedModel& m : models) {
        if (m.where.slot == kHeadSlot) {
            placed.push_back(head);
        } else if (!m.where.onHead) {
            placed.push_back(bodyTag(m.where.tag));
        } else {
            const std::optional<TOrientation> tag =
                head ? MD3TagOrientation(*headModel, 0, m.where.tag) : std::nullopt;
            placed.push_back(tag ? std::optional(PositionOnTag(*head, *tag)) : std::nullopt);
        }
    }
    return placed;
}

std::vector<TVector3> AttachedVertexPositions(const TAttachedModels& models,
                                              const std::vector<std::optional<TOrientation>>& at) {
    std::vector<TVector3> points;
    for (std::size_t i = 0; i < models.size() && i < at.size(); ++i) {
        if (!at[i]) continue;
        const TMatrix4 m = OrientationMatrix(*at[i]);
        for (const TVector3& p : FrameVertexPositions(models[i].model, 0))
            points.push_back(MatrixTransformPoint(p, m));
    }
    return points;
}
