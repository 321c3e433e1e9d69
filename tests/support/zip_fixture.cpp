#include "support/zip_fixture.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "support/test_files.h"

namespace testing_support {

namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

void Write32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void Write16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

std::size_t EndRecord(const std::vector<std::uint8_t>& b) {
    std::size_t end = b.size() - 22;
    while (Read32(b, end) != 0x06054b50)
        --end;
    return end;
}

// Offsets of an entry's central header and local header.
struct Headers {
    std::size_t central = 0;
    std::size_t local = 0;
};

Headers FindHeaders(const std::vector<std::uint8_t>& b, const std::string& name) {
    const std::size_t end = EndRecord(b);
    std::size_t at = Read32(b, end + 16);
    for (int i = 0; i < Read16(b, end + 10); ++i) {
        const std::uint16_t nameLength = Read16(b, at + 28);
        const std::string entry(reinterpret_cast<const char*>(&b[at + 46]), nameLength);
        if (entry == name) return {at, Read32(b, at + 42)};
        at += 46 + nameLength + Read16(b, at + 30) + Read16(b, at + 32);
    }
    ADD_FAILURE() << "no entry " << name;
    return {};
}

}  // namespace

void WriteZip(const std::string& path, const std::vector<ZipEntry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << path;
    for (const ZipEntry& entry : entries) {
        if (!entry.name.empty() && entry.name.back() == '/') {
            zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_RAW);
            continue;
        }
        zip_source_t* source = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
        const zip_int64_t index =
            zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_RAW | ZIP_FL_OVERWRITE);
        ASSERT_GE(index, 0) << entry.name;
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 entry.store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
    }
    ASSERT_EQ(zip_close(archive), 0) << path;
}

void PatchStatedSize(const std::string& path, const std::string& entryName, std::uint32_t size) {
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    const Headers h = FindHeaders(bytes, entryName);
    Write32(bytes, h.central + 24, size);
    Write32(bytes, h.local + 22, size);
    WriteBytes(path, bytes);
}

void CorruptEntryData(const std::string& path, const std::string& entryName) {
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    const Headers h = FindHeaders(bytes, entryName);
    const std::size_t data =
        h.local + 30 + Read16(bytes, h.local + 26) + Read16(bytes, h.local + 28);
    bytes[data + Read32(bytes, h.central + 20) / 2] ^= 0x5a;
    WriteBytes(path, bytes);
}

void AddAliasRecord(const std::string& path, const std::string& entryName,
                    const std::string& newName, std::uint32_t shift) {
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    const Headers h = FindHeaders(bytes, entryName);
    std::vector<std::uint8_t> record(bytes.begin() + static_cast<std::ptrdiff_t>(h.central),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(h.central) + 46);
    Write16(record, 28, static_cast<std::uint16_t>(newName.size()));
    Write16(record, 30, 0);
    Write16(record, 32, 0);
    Write32(record, 42, static_cast<std::uint32_t>(h.local) + shift);
    record.insert(record.end(), newName.begin(), newName.end());
    const std::size_t end = EndRecord(bytes);
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(end), record.begin(), record.end());
    const std::size_t moved = end + record.size();
    Write16(bytes, moved + 8, static_cast<std::uint16_t>(Read16(bytes, moved + 8) + 1));
    Write16(bytes, moved + 10, static_cast<std::uint16_t>(Read16(bytes, moved + 10) + 1));
    Write32(bytes, moved + 12,
            Read32(bytes, moved + 12) + static_cast<std::uint32_t>(record.size()));
    WriteBytes(path, bytes);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testing_support
