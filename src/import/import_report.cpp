#include "import/import_report.h"

void TImportReport::Count(std::int64_t count, const char* one, const char* many,
                          const std::string& what) {
    if (count <= 0) return;
    notes_.push_back(std::to_string(count) + " " + (count == 1 ? one : many) + " " + what);
}

void TImportReport::Note(std::string note) {
    if (!note.empty()) notes_.push_back(std::move(note));
}

std::string TImportReport::Text() const {
    std::string text;
    for (const std::string& note : notes_)
        text += (text.empty() ? "" : ", ") + note;
    return text;
}
