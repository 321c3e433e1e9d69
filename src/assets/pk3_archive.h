// TPK3Archive: the reader of PK3 (ZIP) archives, on libzip. It lists the entries once when
// opened; finding works on that list, extracting and reading go back to the archive. The
// archive is closed by Close, by opening another one and by the destructor, so it is closed
// on every path, errors included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/archive_extraction.h"
#include "assets/zip_entry_spans.h"

struct zip;
class TExtractionFolder;

struct TArchiveEntry {
    std::uint64_t index = 0;  // position in the archive
    std::string name;         // the stored name with '\' turned into '/'
    std::uint64_t size = 0;   // uncompressed, as the archive states it
    std::uint64_t compressedSize = 0;
    std::int32_t method = 0;  // ZIP compression method; 0 stored, 8 deflated
    bool encrypted = false;
    // Another entry whose bytes in the archive this one shares, empty when none. Genuine
    // archives never share; overlap bombs do, to expand far beyond their size.
    std::string sharesDataWith;

    // Stored folder ("models/x/", empty at the top level) and file name; folder + file name
    // is the entry path.
    std::string Folder() const;
    std::string FileName() const;
    // Folder entries ("maps/") hold no data and are never found or extracted.
    bool IsFolder() const { return name.empty() || name.back() == '/'; }
};

// Where FindFirst left off, for FindNext.
struct TArchiveFind {
    std::string mask;
    std::size_t next = 0;
};

class TPK3Archive {
  public:
    TPK3Archive() = default;
    // Opens at once; throws like Open.
    explicit TPK3Archive(const std::string& path) { Open(path); }
    ~TPK3Archive() { Close(); }
    TPK3Archive(const TPK3Archive&) = delete;
    TPK3Archive& operator=(const TPK3Archive&) = delete;

    // Opens an existing archive for reading and lists its entries. Throws FileError
    // ("Cannot open file "<path>". <reason>") when it is missing, unreadable or not a ZIP
    // archive; nothing stays open then.
    void Open(const std::string& path);
    // The same for an archive held in memory (the bytes must outlive the archive); `name`
    // stands in for the path in messages.
    void OpenMemory(const void* data, std::size_t size, const std::string& name);
    void Close();
    bool IsOpen() const { return archive_ != nullptr; }

    // The path given to Open (or the name given to OpenMemory).
    const std::string& Path() const { return path_; }
    // Every entry in archive order, folders included.
    const std::vector<TArchiveEntry>& Entries() const { return entries_; }

    // The file entries matching `mask` (see MatchesArchiveMask) in archive order, one at a
    // time; nullptr when there are no more.
    const TArchiveEntry* FindFirst(const std::string& mask, TArchiveFind& find) const;
    const TArchiveEntry* FindNext(TArchiveFind& find) const;
    // All of them at once.
    std::vector<const TArchiveEntry*> FindAll(const std::string& mask) const;
    // The first file entry whose path equals `entryPath` with either separator and in any
    // letter case; nullptr when there is none.
    const TArchiveEntry* FindEntry(const std::string& entryPath) const;

    // Writes every matching file entry to targetRoot + its stored path, creating folders and
    // replacing existing files. Entries with unsafe names or sizes, entries sharing data and
    // entries past the bound on one extraction's total are refused and damaged ones
    // reported; neither leaves anything behind, and the others are still written. Nothing is
    // written through a symbolic link inside targetRoot.
    TExtractReport Extract(const std::string& mask, const std::string& targetRoot) const;
    // The given entries of this archive the same way, in the order given.
    TExtractReport Extract(const std::vector<const TArchiveEntry*>& entries,
                           const std::string& targetRoot) const;
    // One entry the same way; the report holds at most one written file.
    TExtractReport ExtractEntry(const TArchiveEntry& entry, const std::string& targetRoot) const;

    // The whole entry in memory, for entries of at most `maxBytes`. False with the reason in
    // `error` for a refused, too large or damaged entry.
    bool ReadEntry(const TArchiveEntry& entry, std::uint64_t maxBytes,
                   std::vector<std::uint8_t>& bytes, std::string& error) const;

  private:
    // `read` reads the archive's own bytes, for the entries' places in it.
    void ListEntries(const ZipByteReader& read, std::uint64_t archiveSize);
    // Streams the entry's data to `sink` in blocks; false with the reason when the data is
    // damaged, longer or shorter than stated, or `sink` refuses it.
    template <typename Sink>
    bool StreamEntry(const TArchiveEntry& entry, Sink&& sink, std::string& error) const;
    // `total` counts the bytes this extraction has let through so far.
    void ExtractInto(TExtractionFolder& folder, const TArchiveEntry& entry, std::uint64_t& total,
                     TExtractReport& report) const;

    zip* archive_ = nullptr;
    std::string path_;
    std::vector<TArchiveEntry> entries_;
};
