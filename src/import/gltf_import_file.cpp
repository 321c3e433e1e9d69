#include "import/gltf_import_file.h"

#include <cstring>
#include <filesystem>
#include <vector>

#include "import/gltf_library.h"
#include "io/file_bytes.h"
#include "io/file_error.h"

namespace {

namespace fs = std::filesystem;

// The folder buffers may come from; empty when none may.
struct TBufferFolder {
    fs::path folder;
};

// The file a buffer URI names, when it lies inside the folder (after every "..", "." and
// symbolic link is resolved); empty otherwise.
fs::path Inside(const std::string& path, void* user) {
    const auto* allowed = static_cast<const TBufferFolder*>(user);
    if (allowed->folder.empty()) return {};
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::path(path), error);
    if (error) return {};
    const auto [end, rest] = std::mismatch(allowed->folder.begin(), allowed->folder.end(),
                                           resolved.begin(), resolved.end());
    if (end != allowed->folder.end() || rest == resolved.end()) return {};
    return resolved;
}

// Any file that exists is found, so that one outside the folder is refused with that reason
// when it is read rather than reported missing.
bool FileExists(const std::string& path, void*) {
    std::error_code error;
    return fs::is_regular_file(fs::path(path), error);
}

std::string ExpandFilePath(const std::string& path, void*) {
    return path;
}

bool ReadWholeFile(std::vector<unsigned char>* out, std::string* err, const std::string& path,
                   void* user) {
    const fs::path file = Inside(path, user);
    if (file.empty()) {
        if (err != nullptr) *err += "\"" + path + "\" lies outside the folder of the glTF file\n";
        return false;
    }
    try {
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!ReadFileBytes(file.string(), kGltfMaxFileBytes, bytes, error)) {
            if (err != nullptr) *err += "\"" + path + "\": " + error + "\n";
            return false;
        }
        out->assign(bytes.begin(), bytes.end());
        return true;
    } catch (const FileError& e) {
        if (err != nullptr) *err += std::string(e.what()) + "\n";
        return false;
    }
}

bool WriteWholeFile(std::string* err, const std::string&, const std::vector<unsigned char>&,
                    void*) {
    if (err != nullptr) *err += "an import writes no files\n";
    return false;
}

// Images are kept as the file gives them: the import needs their names, never their pixels.
bool KeepImage(tinygltf::Image*, const int, std::string*, std::string*, int, int,
               const unsigned char*, int, void*) {
    return true;
}

// The library's messages end in line breaks; the import's reasons are one line.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

bool LoadGltfBytes(std::span<const std::uint8_t> bytes, const std::string& folder,
                   tinygltf::Model& model, std::string& message) {
    TBufferFolder allowed;
    if (!folder.empty()) {
        std::error_code error;
        allowed.folder = fs::weakly_canonical(fs::path(folder), error);
        if (error) allowed.folder.clear();
    }
    tinygltf::TinyGLTF loader;
    loader.SetFsCallbacks({FileExists, ExpandFilePath, ReadWholeFile, WriteWholeFile, &allowed});
    loader.SetImageLoader(KeepImage, nullptr);
    std::string error, warning;
    const std::string base = allowed.folder.string();
    bool loaded = false;
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "glTF", 4) == 0) {
        loaded = loader.LoadBinaryFromMemory(&model, &error, &warning, bytes.data(),
                                             static_cast<unsigned int>(bytes.size()), base);
    } else {
        loaded = loader.LoadASCIIFromString(&model, &error, &warning,
                                            reinterpret_cast<const char*>(bytes.data()),
                                            static_cast<unsigned int>(bytes.size()), base);
    }
    if (!loaded) {
        message = "not a glTF file: " + OneLine(error.empty() ? warning : error);
        return false;
    }
    return true;
}

bool LoadGltfFile(const std::string& fileName, tinygltf::Model& model, std::string& message) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(fileName, kGltfMaxFileBytes, bytes, message)) return false;
    fs::path folder = fs::path(fileName).parent_path();
    if (folder.empty()) folder = ".";
    return LoadGltfBytes(bytes, folder.string(), model, message);
}
