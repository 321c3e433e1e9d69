#include "cli/item_argument.h"

#include <algorithm>
#include <vector>

#include "cli/edit_values.h"

namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One kind of item of the model: its name in messages and the names of its items.
struct ItemList {
    std::string kind;
    std::vector<std::string> names;
};

ItemList Surfaces(const TMD3& model) {
    ItemList list{"surface", {}};
    for (int s = 0; s < model.header.numSurfaces && model.ValidSurface(s); ++s)
        list.names.push_back(
            NameFieldText(model.header.surfaces[static_cast<std::size_t>(s)].name));
    return list;
}

// The tags of frame 0: every frame holds the same tags.
ItemList Tags(const TMD3& model) {
    ItemList list{"tag", {}};
    const THeader& h = model.header;
    for (int t = 0; t < h.numTags && static_cast<std::size_t>(t) < h.tags.size(); ++t)
        list.names.push_back(NameFieldText(h.tags[static_cast<std::size_t>(t)].name));
    return list;
}

// The items `reference` names: an index when it is all digits, else every item of that name.
std::vector<int> ItemsNamed(const ItemList& items, const std::string& reference) {
    std::vector<int> found;
    const int count = static_cast<int>(items.names.size());
    if (AllDigits(reference)) {
        if (reference.size() <= 9 && std::stoi(reference) < count) {
            found.push_back(std::stoi(reference));
        }
        return found;
    }
    for (int i = 0; i < count; ++i) {
        if (items.names[static_cast<std::size_t>(i)] == reference) found.push_back(i);
    }
    return found;
}

[[noreturn]] void FailNoItem(const ItemList& items, const std::string& reference) {
    FailOperation("the model has no " + items.kind + " " +
                  (AllDigits(reference) ? reference : "\"" + reference + "\"") + " (it has " +
                  std::to_string(items.names.size()) + ")");
}

std::pair<int, std::string> ResolveItemAndName(const ItemList& items, const std::string& value,
                                               bool emptyNameAllowed) {
    std::vector<std::pair<int, std::string>> readings;
    for (std::size_t colon = value.find(':'); colon != std::string::npos;
         colon = value.find(':', colon + 1)) {
        for (int item : ItemsNamed(items, value.substr(0, colon)))
            readings.emplace_back(item, value.substr(colon + 1));
    }
    if (readings.empty()) FailNoItem(items, value.substr(0, value.find(':')));
    if (readings.size() > 1) {
        FailOperation("\"" + value + "\" can mean more than one " + items.kind + "; give the " +
                      items.kind + " by its index");
    }
    const std::string& name = readings.front().second;
    if (name.empty() && !emptyNameAllowed) FailOperation("the new name is empty");
    if (name.size() > kMaxEditedNameLength) {
        FailOperation("the name \"" + name + "\" is longer than " +
                      std::to_string(kMaxEditedNameLength) + " characters");
    }
    return readings.front();
}

}  // namespace

void CheckItemAndNameSyntax(const std::string& value, const std::string& form) {
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0) FailOperation("expected " + form);
}

SurfaceAndName ResolveSurfaceAndName(const TMD3& model, const std::string& value,
                                     bool emptyNameAllowed) {
    auto [surface, name] = ResolveItemAndName(Surfaces(model), value, emptyNameAllowed);
    return {surface, std::move(name)};
}

TagAndName ResolveTagAndName(const TMD3& model, const std::string& value) {
    auto [tag, name] = ResolveItemAndName(Tags(model), value, false);
    return {tag, std::move(name)};
}

int ResolveTag(const TMD3& model, const std::string& reference) {
    const ItemList tags = Tags(model);
    const std::vector<int> found = ItemsNamed(tags, reference);
    if (found.empty()) FailNoItem(tags, reference);
    if (found.size() > 1) {
        FailOperation("more than one tag is named \"" + reference +
                      "\"; give the tag by its index");
    }
    return found.front();
}
