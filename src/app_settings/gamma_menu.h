// The fixed gamma factors the View menu offers, one ticked entry each.
#pragma once

#include <array>
#include <optional>

inline constexpr std::array<double, 9> kGammaMenuValues = {1.0, 1.5, 2.0, 2.5, 3.0,
                                                           3.5, 4.0, 4.5, 5.0};

// The index in kGammaMenuValues of the entry equal to `gamma`; none for a factor the menu
// does not offer, such as a hand-set 2.2, which is still used as it is.
std::optional<int> GammaMenuIndex(double gamma);
