#include "core/GameTable.h"

namespace velmora {

const GameProfile GameTable[3] = {
    {"", "", "", "", false, "", "", "", "", ""},
    {
        "Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator",
        "combatfs.exe",
        "combatfs.cfg",
        "bkupcfs1",
        false,
        "CFS1",
        "CFS",
        "origcombatfs.exe",
        "Launch CFS1 for IP game",
        "keptcfs1",
    },
    {
        "Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator 2",
        "cfs2.exe",
        "cfs2.cfg",
        "bkupcfs2",
        true,
        "CFS2",
        "CFS2",
        "origcfs2.exe",
        "Launch CFS2 for IP game",
        "keptcfs2",
    },
};

const GameProfile& gameProfile(GameVersion game) {
    return (game == kCfs1 || game == kCfs2) ? GameTable[game] : GameTable[0];
}

}  // namespace velmora
