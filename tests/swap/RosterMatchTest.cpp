// The two match rules, and the sorted lookup of the record that decides a DP
// file, which must find exactly the record a walk of the roster with the
// rules finds.
#include "swap/RosterMatch.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(MatchRules, ObjectDpsMatchTheWholeBaseName) {
    for (const char* name : {"Tower", "tower", "TOWER", "Tower.dp", "Tower.", "Tower.d"})
        EXPECT_TRUE(objectMatch(name, "Tower.dp")) << name;
    for (const char* name : {"Towe", "Tower2", "Tower A", "", "Tower.dpx"})
        EXPECT_FALSE(objectMatch(name, "Tower.dp")) << name;
}

TEST(MatchRules, ShipDpsMatchNamesBeginningWithTheBaseName) {
    EXPECT_TRUE(shipMatch("Cargo ship", "Cargo.dp"));
    EXPECT_TRUE(shipMatch("cargo", "Cargo.DP"));
    EXPECT_FALSE(objectMatch("Cargo ship", "Cargo.dp"));
    EXPECT_FALSE(shipMatch("Carg", "Cargo.dp"));
    EXPECT_FALSE(objectMatch("Carg", "Cargo.dp"));
}

std::optional<size_t> firstByWalk(const UnitRoster& roster, std::string_view fileName,
                                  bool (*rule)(std::string_view, std::string_view)) {
    for (size_t i = 0; i < roster.size(); ++i)
        if (rule(roster[i].name, fileName)) return i;
    return std::nullopt;
}

UnitRoster rosterOf(const std::vector<std::string>& names) {
    UnitRoster roster;
    for (const std::string& name : names) roster.append({static_cast<int>(roster.size()), 1, name});
    return roster;
}

void expectSameAsWalk(const UnitRoster& roster, const std::vector<std::string>& files) {
    const RosterMatcher matcher(roster);
    for (const std::string& file : files) {
        EXPECT_EQ(matcher.firstObjectMatch(file), firstByWalk(roster, file, objectMatch)) << "object " << file;
        EXPECT_EQ(matcher.firstShipMatch(file), firstByWalk(roster, file, shipMatch)) << "ship " << file;
    }
}

TEST(RosterMatcher, FindsTheFirstRecordEachRuleMatches) {
    const UnitRoster roster = rosterOf({"Hangar", "TOWER.D", "Cargo ship", "tower", "Tower.dp", "", "Cargo",
                                        "carg", "\xC9" "cole", "Tower.", "Towe", "Tower2"});
    const RosterMatcher matcher(roster);
    EXPECT_EQ(matcher.firstObjectMatch("Tower.dp"), 1u);
    EXPECT_EQ(matcher.firstShipMatch("Cargo.dp"), 2u);
    EXPECT_EQ(matcher.firstObjectMatch("\xE9" "cole.dp"), 8u);  // folded as code page 1252 folds it
    EXPECT_EQ(matcher.firstObjectMatch("Bunker.dp"), std::nullopt);
    expectSameAsWalk(roster, {"Tower.dp", "TOWER.DP", "tower.dpx", "Towe.dp", "Tower2.dp", "Cargo.dp", "cargo.DP",
                              "Carg.dp", "Car.dp", "\xE9" "cole.dp", ".dp", "dp", "x", "", "Hangar.dp"});
}

}  // namespace
}  // namespace velmora
