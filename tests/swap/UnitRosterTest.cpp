// The unit roster of the session mission: types, names and sides.
#include "swap/UnitRoster.h"

#include <gtest/gtest.h>

#include <tuple>

#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::missionText;
using Record = std::tuple<int, int, std::string>;  // type id, side, name

struct RosterRow {
    const char* name;
    std::optional<std::string> mission;  // the session mission; none when absent
    const char* idList;                  // idlist.txt; none when null
    RosterOutcome outcome;
    std::vector<Record> roster;
    std::vector<std::string> boxes = {};
    GameVersion game = kCfs2;
    size_t limit = SIZE_MAX;  // the most records a roster may hold
};

class UnitRosterTest : public ::testing::TestWithParam<RosterRow> {};

TEST_P(UnitRosterTest, HoldsTheTypesOfTheMission) {
    const RosterRow& row = GetParam();
    testkit::TestApp app;
    testkit::GameInstall install(row.game);
    if (row.mission) install.sessionMissionText(*row.mission);
    if (!row.mission) install.noSessionMission();
    app.install(install);
    app.activate(row.game);
    if (row.idList) testkit::writeText(app.state.paths().idList(), row.idList);

    UnitRoster roster(row.limit);
    EXPECT_EQ(buildUnitRoster(app.state, app.state.paths().sessionMission(), roster), row.outcome);
    std::vector<Record> records;
    for (const UnitTypeRecord& record : roster) records.emplace_back(record.typeId, record.allegiance, record.name);
    EXPECT_EQ(records, row.roster);
    EXPECT_EQ(app.dialog.boxTexts(), row.boxes);
    for (const testkit::RecordedBox& box : app.dialog.boxes()) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, MessageIcon::Error);
    }
}

const char* const kIdList = "[CFS]\r\n12=Wrong game\r\n[CFS2]\r\n12=Zero\r\n13=Betty\r\n";
const auto kComplete = RosterOutcome::Complete;
const auto kUnknown = RosterOutcome::UnknownType;
const auto kOutOfMemory = RosterOutcome::OutOfMemory;

const RosterRow kRows[] = {
    {"EmptyMission", "[mission_header]\r\ntitle=x\r\n", nullptr, kComplete, {}},
    {"MissingMission", std::nullopt, nullptr, kComplete, {}},
    {"AGapEndsTypesAndUnits",
     "[unit_type.0]\ntype_id=1\nname=A\n[unit_type.2]\ntype_id=2\nname=B\n"
     "[unit.0]\ntype_id=1\nallegiance=1\n[unit.2]\ntype_id=1\nallegiance=2\n",
     nullptr, kComplete, {{1, 1, "A"}}},
    {"TheLastUnitWithASideDecidesItsType",
     missionText(
         {{{5, std::nullopt, "Tower"}, {6, 1, "Hangar"}}, {{5, 2}, {5, std::nullopt}, {6, 1}, {6, 2}, {6, -3}}}),
     nullptr, kComplete, {{5, 2, "Tower"}, {6, 2, "Hangar"}}},
    {"AUnitWithSideZeroTakesItsTypeOffBothSides", missionText({{{5, 1, "Tower"}}, {{5, 0}}}), nullptr, kComplete,
     {{5, 0, "Tower"}}},
    {"ATypeWithoutSideKeepsMinusOne", missionText({{{5, std::nullopt, "Tower"}}, {{5, std::nullopt}}}), nullptr,
     kComplete, {{5, -1, "Tower"}}},
    {"DuplicateTypeIdsGiveTwoRecordsAndOnlyTheFirstTakesUnitSides",
     missionText({{{7, 1, "First"}, {7, 2, "Second"}}, {{7, 0}}}), nullptr, kComplete,
     {{7, 0, "First"}, {7, 2, "Second"}}},
    {"UndescribedTypesAreNamedFromTheGamesIdListSection",
     missionText({{}, {{12, std::nullopt}, {12, 2}, {13, 1}}}), kIdList, kComplete,
     {{12, 2, "Zero"}, {13, 1, "Betty"}}},
    {"AndInCfsOneFromItsOwn", missionText({{}, {{12, std::nullopt}}}), kIdList, kComplete,
     {{12, -1, "Wrong game"}}, {}, kCfs1},
    // The unit after the unknown one is not read.
    {"AnUnknownTypeStopsTheRosterWithItsUnitNamed",
     missionText({{{5, 1, "Tower"}}, {{5, 2}, {5, 2}, {5, 2}, {5, 2}, {5, 2}, {5, 2}, {5, 2}, {99, 1}, {5, 1}}}),
     "[CFS2]\r\n98=Other\r\n", kUnknown, {{5, 2, "Tower"}}, {"Mission error, name of unit.7 unknown"}},
    {"AnEmptyIdListNameIsUnknown", missionText({{}, {{12, 1}}}), "[CFS2]\r\n12=\r\n", kUnknown, {},
     {"Mission error, name of unit.0 unknown"}},
    {"AMissingIdListIsUnknown", missionText({{}, {{12, 1}}}), nullptr, kUnknown, {},
     {"Mission error, name of unit.0 unknown"}},
    {"NamesKeepAtMost255Bytes", missionText({{{5, 1, std::string(300, 'n')}}, {}}), nullptr, kComplete,
     {{5, 1, std::string(255, 'n')}}},
    {"ARosterThatCannotGrowSaysOutOfMemory", missionText({{{5, 1, "A"}, {6, 1, "B"}}, {}}), nullptr, kOutOfMemory,
     {{5, 1, "A"}}, {"Out of memory"}, kCfs2, 1},
    {"NorForATypeFromTheIdList", missionText({{{5, 1, "A"}}, {{12, 1}}}), "[CFS2]\r\n12=Zero\r\n", kOutOfMemory,
     {{5, 1, "A"}}, {"Out of memory"}, kCfs2, 1},
};

INSTANTIATE_TEST_SUITE_P(Rows, UnitRosterTest, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
