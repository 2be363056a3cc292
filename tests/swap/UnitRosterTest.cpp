// The unit roster of the session mission: types, names and sides.
#include "swap/UnitRoster.h"

#include <gtest/gtest.h>

#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::MissionPlan;

class UnitRosterTest : public ::testing::Test {
protected:
    void session(const std::string& text, GameVersion game = kCfs2) {
        testkit::GameInstall install(game);
        install.sessionMissionText(text);
        app.install(install);
        app.activate(game);
    }
    void session(const MissionPlan& plan, GameVersion game = kCfs2) { session(testkit::missionText(plan), game); }
    void idList(const std::string& text) { testkit::writeText(app.state.paths().idList(), text); }
    RosterOutcome build() {
        roster = UnitRoster();
        return buildUnitRoster(app.state, app.state.paths().sessionMission(), roster);
    }

    testkit::TestApp app;
    UnitRoster roster;
};

TEST_F(UnitRosterTest, EmptyOrMissingMissionGivesAnEmptyCompleteRoster) {
    session("[mission_header]\r\ntitle=x\r\n");
    EXPECT_EQ(build(), RosterOutcome::Complete);
    EXPECT_TRUE(roster.empty());
    app.state.gameDir = app.root / "nowhere";
    EXPECT_EQ(build(), RosterOutcome::Complete);
    EXPECT_TRUE(roster.empty());
    EXPECT_TRUE(app.dialog.boxes().empty());
}

TEST_F(UnitRosterTest, AGapEndsTypesAndUnits) {
    session("[unit_type.0]\ntype_id=1\nname=A\n[unit_type.2]\ntype_id=2\nname=B\n"
            "[unit.0]\ntype_id=1\nallegiance=1\n[unit.2]\ntype_id=1\nallegiance=2\n");
    EXPECT_EQ(build(), RosterOutcome::Complete);
    ASSERT_EQ(roster.size(), 1u);
    EXPECT_EQ(roster[0].name, "A");
    EXPECT_EQ(roster[0].allegiance, 1);
}

TEST_F(UnitRosterTest, TheLastUnitWithASideDecidesItsType) {
    session(MissionPlan{{{5, std::nullopt, "Tower"}, {6, 1, "Hangar"}},
                        {{5, 2}, {5, std::nullopt}, {6, 1}, {6, 2}, {6, -3}}});
    EXPECT_EQ(build(), RosterOutcome::Complete);
    ASSERT_EQ(roster.size(), 2u);
    EXPECT_EQ(roster[0].typeId, 5);
    EXPECT_EQ(roster[0].name, "Tower");
    EXPECT_EQ(roster[0].allegiance, 2);
    EXPECT_EQ(roster[1].allegiance, 2);
}

TEST_F(UnitRosterTest, AUnitWithSideZeroTakesItsTypeOffBothSides) {
    session(MissionPlan{{{5, 1, "Tower"}}, {{5, 0}}});
    build();
    EXPECT_EQ(roster[0].allegiance, 0);
}

TEST_F(UnitRosterTest, ATypeWithoutSideKeepsMinusOne) {
    session(MissionPlan{{{5, std::nullopt, "Tower"}}, {{5, std::nullopt}}});
    build();
    EXPECT_EQ(roster[0].allegiance, -1);
}

TEST_F(UnitRosterTest, DuplicateTypeIdsGiveTwoRecordsAndOnlyTheFirstTakesUnitSides) {
    session(MissionPlan{{{7, 1, "First"}, {7, 2, "Second"}}, {{7, 0}}});
    build();
    ASSERT_EQ(roster.size(), 2u);
    EXPECT_EQ(roster[0].allegiance, 0);
    EXPECT_EQ(roster[1].allegiance, 2);
    EXPECT_EQ(roster.findTypeById(7), 0u);
    EXPECT_EQ(roster.findTypeById(8), std::nullopt);
}

TEST_F(UnitRosterTest, UndescribedTypesAreNamedFromTheGamesIdListSection) {
    session(MissionPlan{{}, {{12, std::nullopt}, {12, 2}, {13, 1}}});
    idList("[CFS]\r\n12=Wrong game\r\n[CFS2]\r\n12=Zero\r\n13=Betty\r\n");
    EXPECT_EQ(build(), RosterOutcome::Complete);
    ASSERT_EQ(roster.size(), 2u);
    EXPECT_EQ(roster[0].name, "Zero");
    EXPECT_EQ(roster[0].allegiance, 2);
    EXPECT_EQ(roster[1].name, "Betty");

    session(MissionPlan{{}, {{12, std::nullopt}}}, kCfs1);
    EXPECT_EQ(build(), RosterOutcome::Complete);
    EXPECT_EQ(roster[0].name, "Wrong game");
    EXPECT_EQ(roster[0].allegiance, -1);
}

TEST_F(UnitRosterTest, AnUnknownTypeStopsTheRosterWithItsUnitNamed) {
    session(MissionPlan{{{5, 1, "Tower"}}, {{5, 2}, {5, 2}, {5, 2}, {5, 2}, {5, 2}, {5, 2}, {5, 2}, {99, 1}, {5, 1}}});
    idList("[CFS2]\r\n98=Other\r\n");
    EXPECT_EQ(build(), RosterOutcome::UnknownType);
    EXPECT_EQ(roster[0].allegiance, 2);  // the unit after the unknown one was not read
    ASSERT_EQ(app.dialog.boxes().size(), 1u);
    EXPECT_EQ(app.dialog.boxes()[0].text, "Mission error, name of unit.7 unknown");
    EXPECT_EQ(app.dialog.boxes()[0].caption, "Error");
    EXPECT_EQ(app.dialog.boxes()[0].icon, MessageIcon::Error);
}

TEST_F(UnitRosterTest, AnEmptyIdListNameOrAMissingIdListIsUnknown) {
    session(MissionPlan{{}, {{12, 1}}});
    EXPECT_EQ(build(), RosterOutcome::UnknownType);
    idList("[CFS2]\r\n12=\r\n");
    EXPECT_EQ(build(), RosterOutcome::UnknownType);
    EXPECT_EQ(app.dialog.boxTexts(), (std::vector<std::string>{"Mission error, name of unit.0 unknown",
                                                               "Mission error, name of unit.0 unknown"}));
}

TEST_F(UnitRosterTest, NamesKeepAtMost255Bytes) {
    session(MissionPlan{{{5, 1, std::string(300, 'n')}}, {}});
    build();
    EXPECT_EQ(roster[0].name, std::string(255, 'n'));
}

TEST_F(UnitRosterTest, ARosterThatCannotGrowSaysOutOfMemory) {
    testkit::RosterLimit limit(1);
    session(MissionPlan{{{5, 1, "A"}, {6, 1, "B"}}, {}});
    EXPECT_EQ(build(), RosterOutcome::OutOfMemory);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Out of memory"});

    session(MissionPlan{{{5, 1, "A"}}, {{12, 1}}});
    idList("[CFS2]\r\n12=Zero\r\n");
    EXPECT_EQ(build(), RosterOutcome::OutOfMemory);
}

}  // namespace
}  // namespace velmora
