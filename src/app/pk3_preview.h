// A picture of an archive entry for the PK3 browser: a model (MD3 or MDC) drawn untextured by
// the offscreen renderer, turned three-quarter as the thumbnails are, or an image decoded;
// for anything else, or what cannot be read, the reason instead.
#pragma once

#include <QImage>
#include <QString>
#include <string>

struct TPK3Preview {
    QImage picture;  // null when there is none
    QString note;    // why there is none
};

// Takes the entry out of `archive` into `scratchFolder` to read it.
TPK3Preview PreviewArchiveEntry(const std::string& archive, const std::string& entry,
                                const std::string& scratchFolder, int size);
