#include "swap/UnitRoster.h"

#include <new>

#include "core/GameDataFiles.h"
#include "core/Text.h"

namespace velmora {

bool UnitRoster::append(UnitTypeRecord record) {
    if (records_.size() >= capacity_) return false;
    try {
        records_.push_back(std::move(record));
    } catch (const std::bad_alloc&) {
        return false;
    }
    try {
        firstOfType_.emplace(records_.back().typeId, records_.size() - 1);
    } catch (const std::bad_alloc&) {
        records_.pop_back();
        return false;
    }
    return true;
}

std::optional<size_t> UnitRoster::findTypeById(std::int32_t typeId) const {
    const auto found = firstOfType_.find(typeId);
    if (found == firstOfType_.end()) return std::nullopt;
    return found->second;
}

namespace {

void showError(AppState& state, const std::string& text) {
    state.dialog().messageBox(text, "Error", MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace

RosterOutcome buildUnitRoster(AppState& state, const std::string& missionPath, UnitRoster& roster) {
    const GamePaths paths = state.paths();
    // The mission is read once and asked thousands of times.
    const MissionFile mission = MissionFile::load(state.files(), missionPath);

    for (int n = 0;; ++n) {
        const int typeId = mission.unitTypeId(n);
        if (typeId == -1) break;
        if (!roster.append({typeId, mission.unitTypeAllegiance(n), mission.unitTypeName(n)})) {
            showError(state, "Out of memory");
            return RosterOutcome::OutOfMemory;
        }
    }

    std::optional<UnitNameList> names;  // idlist.txt, read at its first use
    for (int n = 0;; ++n) {
        const int typeId = mission.unitTypeIdOfUnit(n);
        if (typeId == -1) return RosterOutcome::Complete;
        const int allegiance = mission.unitAllegiance(n);
        std::optional<size_t> found = roster.findTypeById(typeId);
        if (!found) {
            if (!names) names = UnitNameList::load(state.files(), paths.idList());
            std::string name = names->name(state.activeGame, typeId);
            if (name.empty()) {
                showError(state, "Mission error, name of " + unitSection(n) + " unknown");
                return RosterOutcome::UnknownType;
            }
            if (!roster.append({typeId, allegiance, std::move(name)})) {
                showError(state, "Out of memory");
                return RosterOutcome::OutOfMemory;
            }
            found = roster.size() - 1;
        }
        // A unit's own side, when it has one, decides its type's: the last
        // such unit wins.
        if (allegiance >= 0) roster[*found].allegiance = allegiance;
    }
}

}  // namespace velmora
