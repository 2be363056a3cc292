#include "bench/BenchInstall.h"

#include <cstdio>
#include <random>
#include <vector>

namespace velmora::bench {
namespace {

std::string numbered(const char* prefix, int n, int digits) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%0*d", prefix, digits, n);
    return buffer;
}

struct NamedType {
    std::string name;
    int side = 1;                 // 1 Allied, 2 Axis
    bool sideFromDpOnly = false;  // neither the mission nor its units give one
};

}  // namespace

const InstallSize& smallInstall() {
    static const InstallSize size{"small", 200, 10, 27, 33, 200};
    return size;
}

const InstallSize& mediumInstall() {
    static const InstallSize size{"medium", 1000, 50, 133, 167, 1000};
    return size;
}

const InstallSize& largeInstall() {
    static const InstallSize size{"large", 3000, 120, 400, 500, 3000};
    return size;
}

BenchInstall makeBenchInstall(const InstallSize& size) {
    BenchInstall bench;
    std::mt19937 random(20240611);
    const auto dpSize = [&] { return static_cast<size_t>(4096 + random() % (32 * 1024 - 4096 + 1)); };

    // Every third DP in five goes unnamed, in a fixed pattern, so that the
    // named ones spread over both folders.
    std::vector<testkit::DpPlan> objects;
    std::vector<testkit::ShipPlan> ships;
    std::vector<NamedType> types;
    int dpIndex = 0;
    const auto name = [&](const std::string& dp) {
        if (dpIndex++ % 5 < 3) types.push_back(NamedType{dp});
    };
    for (int i = 1; i <= size.objectDps; ++i) {
        objects.push_back(testkit::DpPlan{numbered("obj", i, 4), std::nullopt, true, dpSize()});
        name(objects.back().name);
    }
    for (int s = 1; s <= size.shipFolders; ++s) {
        testkit::ShipPlan ship;
        ship.folder = numbered("Ship", s, 3);
        for (const char* part : {"_hull", "_deck", "_guns"}) {
            ship.dps.push_back(testkit::DpPlan{numbered("ship", s, 3) + part, std::nullopt, true, dpSize()});
            name(ship.dps.back().name);
        }
        ships.push_back(ship);
    }
    bench.dpFiles = dpIndex;

    // Mixed so that the described types and those named in idlist.txt hold
    // objects and ships alike.
    for (size_t i = types.size(); i > 1; --i) std::swap(types[i - 1], types[random() % i]);
    for (size_t k = 0; k < types.size(); ++k) {
        types[k].side = k % 2 == 0 ? 1 : 2;
        types[k].sideFromDpOnly = static_cast<int>(k) < size.describedTypes && k % 10 == 9;
        if (types[k].side == 2) ++bench.axisDps;
    }
    bench.rosterTypes = static_cast<int>(types.size());

    // Each DP's own side is its type's, or alternates when it has none.
    std::map<std::string, int> sideByName;
    for (const NamedType& type : types) sideByName[type.name] = type.side;
    const auto sideOf = [&](testkit::DpPlan& dp, int fallback) {
        const auto found = sideByName.find(dp.name);
        dp.allegiance = found == sideByName.end() ? fallback : found->second;
    };
    for (size_t i = 0; i < objects.size(); ++i) sideOf(objects[i], 1 + static_cast<int>(i % 2));
    for (testkit::ShipPlan& ship : ships)
        for (size_t i = 0; i < ship.dps.size(); ++i) sideOf(ship.dps[i], 1 + static_cast<int>(i % 2));

    testkit::MissionPlan session;
    std::map<int, std::string> idNames;
    const int typeCount = static_cast<int>(types.size());
    for (int k = 0; k < typeCount; ++k) {
        const int typeId = 1000 + k;
        if (k < size.describedTypes) {
            std::optional<int> side;
            if (!types[k].sideFromDpOnly) side = types[k].side;
            session.types.push_back(testkit::UnitTypePlan{typeId, side, types[k].name});
        } else {
            idNames[typeId] = types[k].name;
        }
    }
    for (int j = 0; j < size.units; ++j) {
        const int k = j % typeCount;
        std::optional<int> side;
        if (!types[k].sideFromDpOnly && (k >= size.describedTypes || j % 3 == 0)) side = types[k].side;
        session.units.push_back(testkit::UnitPlan(1000 + k, side));
    }
    bench.idList = testkit::idListText({{"CFS", {{1, "Spitfire"}}}, {"CFS2", idNames}});
    bench.sessionMission = "Session.mis";
    bench.sessionMissionText = testkit::missionText(session);

    for (testkit::DpPlan& dp : objects) bench.game.objectDp(dp);
    for (testkit::ShipPlan& ship : ships) bench.game.ship(ship);
    bench.game.missionText(bench.sessionMission, bench.sessionMissionText);
    // The other missions: a few types and units each, from the same DPs.
    for (int m = 1; m < size.missions; ++m) {
        testkit::MissionPlan mission;
        for (int t = 0; t < 4; ++t) {
            const NamedType& type = types[random() % types.size()];
            mission.types.push_back(testkit::UnitTypePlan{10 + t, type.side, type.name});
        }
        for (int u = 0; u < 8; ++u) mission.units.push_back(testkit::UnitPlan(10 + u % 4));
        bench.game.mission(numbered("Mission", m, 3) + ".mis", mission);
    }
    return bench;
}

}  // namespace velmora::bench
