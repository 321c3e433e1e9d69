#include "cli/surface_argument.h"

#include <algorithm>
#include <vector>

#include "cli/edit_values.h"

namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The surfaces `reference` names: an index when it is all digits, else every surface of
// that name.
std::vector<int> SurfacesNamed(const TMD3& model, const std::string& reference) {
    std::vector<int> found;
    if (AllDigits(reference)) {
        if (reference.size() <= 9 && model.ValidSurface(std::stoi(reference))) {
            found.push_back(std::stoi(reference));
        }
        return found;
    }
    for (int s = 0; s < model.header.numSurfaces; ++s) {
        if (model.ValidSurface(s) &&
            NameFieldText(model.header.surfaces[static_cast<std::size_t>(s)].name) == reference) {
            found.push_back(s);
        }
    }
    return found;
}

}  // namespace

void CheckSurfaceAndNameSyntax(const std::string& value) {
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0) FailOperation("expected SURFACE:NAME");
}

SurfaceAndName ResolveSurfaceAndName(const TMD3& model, const std::string& value) {
    std::vector<SurfaceAndName> readings;
    for (std::size_t colon = value.find(':'); colon != std::string::npos;
         colon = value.find(':', colon + 1)) {
        for (int surface : SurfacesNamed(model, value.substr(0, colon)))
            readings.push_back({surface, value.substr(colon + 1)});
    }
    if (readings.empty()) {
        const std::string first = value.substr(0, value.find(':'));
        FailOperation("the model has no surface " +
                      (AllDigits(first) ? first : "\"" + first + "\"") + " (it has " +
                      std::to_string(model.header.numSurfaces) + ")");
    }
    if (readings.size() > 1) {
        FailOperation("\"" + value +
                      "\" can mean more than one surface; give the surface by its index");
    }
    const SurfaceAndName& reading = readings.front();
    if (reading.name.empty()) FailOperation("the new name is empty");
    if (reading.name.size() > kMaxEditedNameLength) {
        FailOperation("the name \"" + reading.name + "\" is longer than " +
                      std::to_string(kMaxEditedNameLength) + " characters");
    }
    return reading;
}
