#include "assets/pk3_archive.h"

#include <zip.h>

#include <array>

#include "assets/archive_names.h"
#include "assets/entry_safety.h"
#include "assets/extracted_file_writer.h"
#include "io/file_error.h"

namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

std::string Sentence(std::string text) {
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

[[noreturn]] void ThrowCannotOpen(const std::string& path, zip_error_t& error) {
    const std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw FileError("Cannot open file \"" + path + "\". " + Sentence(reason));
}

// Why an entry is not extracted at all, before any of its data is read.
std::string EntryProblem(const TArchiveEntry& entry) {
    if (entry.encrypted) return "it is encrypted";
    if (entry.method != ZIP_CM_STORE && entry.method != ZIP_CM_DEFLATE)
        return "its compression method " + std::to_string(entry.method) + " is not supported";
    return EntrySizeProblem(entry.size, entry.compressedSize, entry.method == ZIP_CM_STORE);
}

}  // namespace

std::string TArchiveEntry::Folder() const {
    return std::string(FolderPart(name));
}

std::string TArchiveEntry::FileName() const {
    return std::string(FileNamePart(name));
}

void TPK3Archive::Open(const std::string& path) {
    Close();
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        ThrowCannotOpen(path, error);
    }
    archive_ = archive;
    path_ = path;
    ListEntries();
}

void TPK3Archive::OpenMemory(const void* data, std::size_t size, const std::string& name) {
    Close();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    if (source == nullptr) ThrowCannotOpen(name, error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (archive == nullptr) {
        zip_source_free(source);
        ThrowCannotOpen(name, error);
    }
    zip_error_fini(&error);
    archive_ = archive;
    path_ = name;
    ListEntries();
}

void TPK3Archive::Close() {
    if (archive_ != nullptr) zip_discard(archive_);
    archive_ = nullptr;
    entries_.clear();
}

void TPK3Archive::ListEntries() {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    // The directory was read in full by zip_open, so its count is backed by real records.
    entries_.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), 0, &st) != 0) continue;
        if ((st.valid & ZIP_STAT_NAME) == 0 || st.name == nullptr) continue;
        TArchiveEntry entry;
        entry.index = static_cast<std::uint64_t>(i);
        entry.name = NormalizedEntryName(st.name);
        entry.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
        entry.compressedSize = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
        entry.method = (st.valid & ZIP_STAT_COMP_METHOD) ? st.comp_method : ZIP_CM_STORE;
        entry.encrypted =
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        entries_.push_back(std::move(entry));
    }
}

const TArchiveEntry* TPK3Archive::FindFirst(const std::string& mask, TArchiveFind& find) const {
    find.mask = mask;
    find.next = 0;
    return FindNext(find);
}

const TArchiveEntry* TPK3Archive::FindNext(TArchiveFind& find) const {
    while (find.next < entries_.size()) {
        const TArchiveEntry& entry = entries_[find.next++];
        if (!entry.IsFolder() && MatchesArchiveMask(find.mask, entry.name)) return &entry;
    }
    return nullptr;
}

std::vector<const TArchiveEntry*> TPK3Archive::FindAll(const std::string& mask) const {
    std::vector<const TArchiveEntry*> found;
    TArchiveFind find;
    for (const TArchiveEntry* entry = FindFirst(mask, find); entry != nullptr;
         entry = FindNext(find)) {
        found.push_back(entry);
    }
    return found;
}

const TArchiveEntry* TPK3Archive::FindEntry(const std::string& entryPath) const {
    const std::string wanted = NormalizedEntryName(entryPath);
    for (const TArchiveEntry& entry : entries_) {
        if (!entry.IsFolder() && EqualIgnoringCase(entry.name, wanted)) return &entry;
    }
    return nullptr;
}

template <typename Sink>
bool TPK3Archive::StreamEntry(const TArchiveEntry& entry, Sink&& sink, std::string& error) const {
    zip_file_t* file = zip_fopen_index(archive_, entry.index, 0);
    if (file == nullptr) {
        error = Sentence(zip_error_strerror(zip_get_error(archive_)));
        zip_error_clear(archive_);
        return false;
    }
    std::array<char, kBlockBytes> block;
    std::uint64_t total = 0;
    bool good = true;
    for (;;) {
        const zip_int64_t got = zip_fread(file, block.data(), block.size());
        if (got < 0) {
            error = Sentence(zip_file_strerror(file));
            good = false;
            break;
        }
        if (got == 0) break;
        total += static_cast<std::uint64_t>(got);
        // Never trust the data to stop where the directory says it does.
        if (total > entry.size) {
            error =
                "its data is longer than the " + std::to_string(entry.size) + " bytes it states.";
            good = false;
            break;
        }
        if (!sink(block.data(), static_cast<std::size_t>(got), error)) {
            good = false;
            break;
        }
    }
    zip_fclose(file);
    if (good && total != entry.size) {
        error = "its data ends after " + std::to_string(total) + " of " +
                std::to_string(entry.size) + " bytes.";
        good = false;
    }
    return good;
}

TExtractReport TPK3Archive::ExtractEntry(const TArchiveEntry& entry,
                                         const std::string& targetRoot) const {
    TExtractReport report;
    const TSafeEntryPath safe = SafeEntryPath(entry.name);
    std::string problem = safe.problem.empty() ? EntryProblem(entry) : safe.problem;
    if (!problem.empty()) {
        report.problems.push_back(RefusedEntryMessage(path_, entry.name, problem));
        return report;
    }
    std::string root = targetRoot;
    if (!root.empty() && root.back() != '/') root += '/';
    const std::string target = root + safe.path;
    TExtractedFileWriter writer(target);
    if (!writer.ok()) {
        report.problems.push_back(UnwritableEntryMessage(path_, entry.name, writer.error()));
        return report;
    }
    std::string error;
    const bool read = StreamEntry(
        entry,
        [&writer](const char* data, std::size_t bytes, std::string& why) {
            if (writer.Write(data, bytes)) return true;
            why = writer.error();
            return false;
        },
        error);
    if (!read) {
        // A failed write is the disk's fault, not the archive's.
        report.problems.push_back(writer.ok() ? DamagedEntryMessage(path_, entry.name, error)
                                              : UnwritableEntryMessage(path_, entry.name, error));
        return report;
    }
    if (!writer.Commit()) {
        report.problems.push_back(UnwritableEntryMessage(path_, entry.name, writer.error()));
        return report;
    }
    report.written.push_back({entry.name, target});
    return report;
}

TExtractReport TPK3Archive::Extract(const std::string& mask, const std::string& targetRoot) const {
    TExtractReport report;
    for (const TArchiveEntry* entry : FindAll(mask))
        report.Append(ExtractEntry(*entry, targetRoot));
    return report;
}

bool TPK3Archive::ReadEntry(const TArchiveEntry& entry, std::uint64_t maxBytes,
                            std::vector<std::uint8_t>& bytes, std::string& error) const {
    bytes.clear();
    std::string problem = EntryProblem(entry);
    if (problem.empty() && entry.size > maxBytes)
        problem = "its size of " + std::to_string(entry.size) + " bytes is above " +
                  std::to_string(maxBytes);
    if (!problem.empty()) {
        error = RefusedEntryMessage(path_, entry.name, problem);
        return false;
    }
    bytes.reserve(static_cast<std::size_t>(entry.size));
    std::string reason;
    const bool read = StreamEntry(
        entry,
        [&bytes](const char* data, std::size_t count, std::string&) {
            bytes.insert(bytes.end(), data, data + count);
            return true;
        },
        reason);
    if (!read) {
        bytes.clear();
        error = DamagedEntryMessage(path_, entry.name, reason);
    }
    return read;
}
