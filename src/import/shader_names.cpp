#include "import/shader_names.h"

#include <vector>

#include "assets/archive_names.h"

namespace {

bool IsGameFolder(std::string_view component) {
    const std::string lower = LowerCaseAscii(component);
    return lower == "textures" || lower == "models";
}

bool HasImageExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos)
        return false;
    const std::string ext = LowerCaseAscii(name.substr(dot + 1));
    for (const char* known : {"tga", "jpg", "jpeg", "bmp", "png", "dds", "pcx", "gif", "tif"})
        if (ext == known) return true;
    return false;
}

std::string WithoutImageExtension(std::string name) {
    if (HasImageExtension(name)) name.erase(name.rfind('.'));
    return name;
}

}  // namespace

bool IsShaderPath(std::string_view name) {
    const std::string lower = LowerCaseAscii(name);
    return (lower.starts_with("textures/") || lower.starts_with("models/")) &&
           !HasImageExtension(name);
}

std::string GameShaderName(std::string_view path, std::string_view prefix) {
    std::string text(path);
    for (char& c : text)
        if (c == '\\') c = '/';
    // A drive letter or a leading slash makes the path absolute.
    bool absolute = !text.empty() && text.front() == '/';
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':') {
        absolute = true;
        text.erase(0, 2);
    }
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('/', start);
        if (end == std::string::npos) end = text.size();
        const std::string part = text.substr(start, end - start);
        if (!part.empty() && part != "." && part != "..") parts.push_back(part);
        start = end + 1;
    }
    if (parts.empty()) return {};
    std::size_t from = parts.size();
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (IsGameFolder(parts[i])) {
            from = i;
            break;
        }
    }
    const bool gamePath = from < parts.size();
    if (!gamePath) from = absolute ? parts.size() - 1 : 0;
    std::string name;
    for (std::size_t i = from; i < parts.size(); ++i)
        name += (name.empty() ? "" : "/") + parts[i];
    name = WithoutImageExtension(name);
    if (gamePath) {
        // The game folder in the letter case the game's own paths use.
        const std::size_t slash = name.find('/');
        name = LowerCaseAscii(name.substr(0, slash)) + name.substr(slash);
        return name;
    }
    std::string folder(prefix);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name;
}

std::string MaterialShaderName(std::string_view materialName, std::string_view texturePath,
                               std::string_view prefix) {
    if (IsShaderPath(materialName)) return std::string(materialName);
    if (texturePath.empty()) return {};
    return GameShaderName(texturePath, prefix);
}
