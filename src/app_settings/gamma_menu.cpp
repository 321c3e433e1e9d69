#include "app_settings/gamma_menu.h"

#include <algorithm>

std::optional<int> GammaMenuIndex(double gamma) {
    // The factors are exact in binary and "2.5" reads as exactly 2.5, so equality is right.
    const auto it = std::find(kGammaMenuValues.begin(), kGammaMenuValues.end(), gamma);
    if (it == kGammaMenuValues.end()) return std::nullopt;
    return static_cast<int>(it - kGammaMenuValues.begin());
}
