// velmora-demo-install <folder> [cfs1|cfs2|both]
//
// Writes demo installations of the games into <folder>/CFS1 and
// <folder>/CFS2, and an idlist.txt to put beside Velmora.exe: a handful of
// missions with units of both sides, object DPs with compiled siblings,
// ships, and the configuration files.
#include <cstdio>
#include <string>

#include "testkit/GameInstall.h"
#include "testkit/TempDir.h"

using namespace velmora;
using namespace velmora::testkit;

namespace {

GameInstall demoCfs1() {
    GameInstall install(kCfs1);
    install
        .mission("Channel Sweep.mis",
                 MissionPlan{{{10, 1, "Spitfire"}, {11, 2, "Bf109"}, {12, 2, "Flak88"}},
                             {{10}, {10}, {11}, {11}, {12, 2}}})
        .mission("Airfield Raid.mis", MissionPlan{{{13, 1, "Hurricane"}, {14, 2, "Hangar"}}, {{13}, {14}, {14}}})
        .mission("Convoy.mis", MissionPlan{{{15, -1, "Truck"}, {10, 1, "Spitfire"}}, {{15}, {10}, {20, 2}}})
        .objectDp(DpPlan{"Flak88", 2, true, 2000})
        .objectDp(DpPlan{"Hangar", 2, true, 1500})
        .objectDp(DpPlan{"Truck", 2, true, 1200})
        .objectDp(DpPlan{"Bofors", 1, true, 1800})
        .objectDp(DpPlan{"Pillbox", 2, false, 900})
        .config("[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=1\r\n\r\n[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n")
        .executable();
    return install;
}

GameInstall demoCfs2() {
    GameInstall install(kCfs2);
    ShipPlan carrier;
    carrier.folder = "Carrier";
    carrier.dps = {DpPlan{"carrier_hull", 1, true, 3000}, DpPlan{"carrier_aa", 1, true, 1500}};
    ShipPlan destroyer;
    destroyer.folder = "Destroyer";
    destroyer.dps = {DpPlan{"destroyer", 2, true, 2500}};
    install
        .mission("Midway.mis", MissionPlan{{{30, 1, "Wildcat"}, {31, 2, "Zero"}, {32, 1, "carrier_hull"}},
                                           {{30}, {31}, {31}, {32}}})
        .mission("Rabaul.mis", MissionPlan{{{33, 2, "AA Gun"}, {34, 2, "destroyer"}, {35, 1, "Corsair"}},
                                           {{33}, {33}, {34}, {35}}})
        .mission("Guadalcanal.mis", MissionPlan{{{36, -1, "Bunker"}, {30, 1, "Wildcat"}}, {{36}, {30}, {40, 2}}})
        .objectDp(DpPlan{"AA Gun", 2, true, 2000})
        .objectDp(DpPlan{"Bunker", 2, true, 1500})
        .objectDp(DpPlan{"Radar", 1, true, 1200})
        .objectDp(DpPlan{"Fuel Dump", 2, false, 900})
        .ship(carrier)
        .ship(destroyer)
        .config("[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=1\r\n\r\n[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n")
        .executable();
    return install;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [cfs1|cfs2|both]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string which = argc > 2 ? argv[2] : "both";
    bool ok = true;
    if (which == "cfs1" || which == "both") ok &= demoCfs1().writeGame(folder + "/CFS1");
    if (which == "cfs2" || which == "both") ok &= demoCfs2().writeGame(folder + "/CFS2");
    ok &= writeText(folder + "/idlist.txt",
                    idListText({{"CFS", {{20, "Bf110"}}}, {"CFS2", {{40, "Betty"}}}}));
    if (!ok) {
        std::fprintf(stderr, "could not write the demo installations into %s\n", folder.c_str());
        return 1;
    }
    std::printf("%s\n", folder.c_str());
    return 0;
}
