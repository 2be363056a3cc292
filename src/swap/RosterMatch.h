// Which roster record decides a DP file: the first, in roster order, whose
// name matches the file's under the object rule or the ship rule
// (objectMatch, shipMatch). The names are sorted once per swap, so that a
// swap of thousands of DPs against a roster of thousands of types does not
// compare every name with every file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "swap/UnitRoster.h"

namespace velmora {

// Whether roster name `name` is the unit type of object DP file `fileName`:
// equal to its base name (a trailing ".", ".d" or ".dp" allowed), case ignored.
bool objectMatch(std::string_view name, std::string_view fileName);
// Whether roster name `name` is the unit type of ship DP file `fileName`: it
// begins with the file's base name, case ignored.
bool shipMatch(std::string_view name, std::string_view fileName);

class RosterMatcher {
public:
    explicit RosterMatcher(const UnitRoster& roster);

    // The position of the first record that objectMatch()es `fileName`.
    std::optional<size_t> firstObjectMatch(std::string_view fileName) const;
    // The position of the first record that shipMatch()es `fileName`.
    std::optional<size_t> firstShipMatch(std::string_view fileName) const;

private:
    // Case-folded names with their positions, sorted by name, then position.
    std::vector<std::pair<std::string, size_t>> names_;
};

}  // namespace velmora
