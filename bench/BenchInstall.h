// The CFS2 installations the benchmark times, written with the game-install
// builder: a host's game stocked with add-on objects, ships and missions, and
// a session mission big enough that most DPs take part in a swap.
#pragma once

#include <string>

#include "testkit/GameInstall.h"

namespace velmora::bench {

struct InstallSize {
    const char* name;
    int objectDps;       // 4-32 KB each, with compiled siblings
    int shipFolders;     // 3 DPs each
    int missions;        // in the missions folder, the session mission among them
    int describedTypes;  // [unit_type.N] sections of the session mission
    int units;           // [unit.N] sections
};

// 200 / 1,000 / 3,000 object DPs; the rest scaled alike.
const InstallSize& smallInstall();
const InstallSize& mediumInstall();
const InstallSize& largeInstall();

struct BenchInstall {
    testkit::GameInstall game{kCfs2};
    std::string idList;             // idlist.txt beside the program
    std::string sessionMission;     // the big mission's file name in missions/
    std::string sessionMissionText;
    int dpFiles = 0;      // object and ship DPs
    int rosterTypes = 0;  // unit types the session mission's units use
    int axisDps = 0;      // DPs an Axis swap of the session mission rewrites
};

// The units' types name 60% of the DPs, half of them Allied and half Axis.
// Only the first `describedTypes` are described in the mission; the others
// are named in idlist.txt, as missions made with the game's own tools leave
// them. One described type in ten has no side in the mission, so that the
// DP's own side decides.
BenchInstall makeBenchInstall(const InstallSize& size);

}  // namespace velmora::bench
