// The unit roster of a mission: which unit types take part, what each is
// called (also the base name of its DP file) and which side each fights on.
// Built by a side swap from the mission it is about to put in force, before
// anything is copied, with names of undescribed types looked up in idlist.txt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/AppState.h"

namespace velmora {

struct UnitTypeRecord {
    std::int32_t typeId = 0;
    // The type's side as the mission gives it, -1 while nothing has: a
    // positive odd value is Allied, a positive even value Axis, 0 or less
    // neither.
    std::int32_t allegiance = -1;
    std::string name;  // at most 255 bytes; may be empty
};

class UnitRoster {
public:
    // A roster of at most `capacity` records; memory is the real bound. One
    // that is full refuses a record as one that memory refuses it does.
    explicit UnitRoster(size_t capacity = SIZE_MAX) : capacity_(capacity) {}

    // Appends a record; false when the roster cannot grow.
    bool append(UnitTypeRecord record);
    // The position of the first record of `typeId`.
    std::optional<size_t> findTypeById(std::int32_t typeId) const;

    size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    UnitTypeRecord& operator[](size_t i) { return records_[i]; }
    const UnitTypeRecord& operator[](size_t i) const { return records_[i]; }
    auto begin() { return records_.begin(); }
    auto end() { return records_.end(); }
    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }

private:
    size_t capacity_;
    std::vector<UnitTypeRecord> records_;
    // First record of each type id: lookups stay fast on missions with
    // thousands of units, and the first record still wins.
    std::unordered_map<std::int32_t, size_t> firstOfType_;
};

enum class RosterOutcome {
    Complete,     // every unit up to the first gap was read
    UnknownType,  // a unit's type has no name; the message has been shown
    OutOfMemory,  // the roster could not grow; the message has been shown
};

// Builds the roster of the mission file at `missionPath`. A missing or
// unreadable mission gives an empty, complete roster.
RosterOutcome buildUnitRoster(AppState& state, const std::string& missionPath, UnitRoster& roster);

}  // namespace velmora
