#include "assets/pk3_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "assets/archive_names.h"
#include "assets/entry_safety.h"
#include "assets/extracted_file_writer.h"
#include "assets/extraction_folder.h"
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

[[noreturn]] void ThrowUnreadableDirectory(const std::string& path) {
    throw FileError("Cannot open file \"" + path +
                    "\". Its central directory does not tell where its entries lie.");
}

// Why an entry is not extracted at all, before any of its data is read.
std::string EntryProblem(const TArchiveEntry& entry) {
    if (!entry.sharesDataWith.empty())
        return "its data overlaps that of \"" + entry.sharesDataWith +
               "\", which only archives made to expand beyond their size do";
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        Close();
        throw FileError::CannotOpen(path, error);
    }
    try {
        ListEntries(
            [fd](std::uint64_t offset, void* out, std::size_t bytes) {
                auto* next = static_cast<char*>(out);
                while (bytes > 0) {
                    const ssize_t got = ::pread(fd, next, bytes, static_cast<off_t>(offset));
                    if (got < 0 && errno == EINTR) continue;
                    if (got <= 0) return false;
                    next += got;
                    offset += static_cast<std::uint64_t>(got);
                    bytes -= static_cast<std::size_t>(got);
                }
                return true;
            },
            static_cast<std::uint64_t>(st.st_size));
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
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
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    ListEntries(
        [bytes, size](std::uint64_t offset, void* out, std::size_t count) {
            if (offset > size || count > size - offset) return false;
            std::memcpy(out, bytes + offset, count);
            return true;
        },
        size);
}

void TPK3Archive::Close() {
    if (archive_ != nullptr) zip_discard(archive_);
    archive_ = nullptr;
    entries_.clear();
}

void TPK3Archive::ListEntries(const ZipByteReader& read, std::uint64_t archiveSize) {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    const std::optional<std::vector<TZipEntrySpan>> spans =
        ReadZipEntrySpans(read, archiveSize, count > 0 ? static_cast<std::uint64_t>(count) : 0);
    if (!spans) {
        const std::string path = path_;
        Close();
        ThrowUnreadableDirectory(path);
    }
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
    std::vector<TZipEntrySpan> listed;
    std::vector<bool> holdsData;
    for (const TArchiveEntry& entry : entries_) {
        listed.push_back((*spans)[entry.index]);
        holdsData.push_back(!entry.IsFolder());
    }
    const std::vector<std::int64_t> overlaps = OverlappingSpans(listed, holdsData);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (overlaps[i] >= 0)
            entries_[i].sharesDataWith = entries_[static_cast<std::size_t>(overlaps[i])].name;
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

void TPK3Archive::ExtractInto(TExtractionFolder& folder, const TArchiveEntry& entry,
                              std::uint64_t& total, TExtractReport& report) const {
    const TSafeEntryPath safe = SafeEntryPath(entry.name);
    std::string problem = safe.problem.empty() ? EntryProblem(entry) : safe.problem;
    // Stated sizes are what StreamEntry lets through at most, so their sum bounds the writing.
    if (problem.empty() && entry.size > kMaxExtractionBytes - total)
        problem = "the extraction would write more than its limit of " +
                  std::to_string(kMaxExtractionBytes) + " bytes in all";
    if (!problem.empty()) {
        report.problems.push_back(RefusedEntryMessage(path_, entry.name, problem));
        return;
    }
    total += entry.size;
    TExtractedFileWriter writer(folder, safe.path);
    if (!writer.ok()) {
        report.problems.push_back(UnwritableEntryMessage(path_, entry.name, writer.error()));
        return;
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
        return;
    }
    if (!writer.Commit()) {
        report.problems.push_back(UnwritableEntryMessage(path_, entry.name, writer.error()));
        return;
    }
    report.written.push_back({entry.name, folder.PathOf(safe.path)});
}

TExtractReport TPK3Archive::ExtractEntry(const TArchiveEntry& entry,
                                         const std::string& targetRoot) const {
    return Extract(std::vector<const TArchiveEntry*>{&entry}, targetRoot);
}

TExtractReport TPK3Archive::Extract(const std::vector<const TArchiveEntry*>& entries,
                                    const std::string& targetRoot) const {
    TExtractReport report;
    TExtractionFolder folder(targetRoot);
    std::uint64_t total = 0;
    for (const TArchiveEntry* entry : entries)
        ExtractInto(folder, *entry, total, report);
    return report;
}

TExtractReport TPK3Archive::Extract(const std::string& mask, const std::string& targetRoot) const {
    return Extract(FindAll(mask), targetRoot);
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
