// What a reader's message names, given as a text or as a function that spells it out only
// when a message is made: a model has thousands of vertices and frames, and building the
// name of each would cost more than reading it.
#pragma once

#include <concepts>
#include <string>

inline const std::string& MessageName(const std::string& name) {
    return name;
}

template <std::invocable Spell>
std::string MessageName(const Spell& spell) {
    return spell();
}
