// The two games Velmora serves and every constant that differs between them.
#pragma once

#include <string>

namespace velmora {

// 1 = CFS1, 2 = CFS2, 0 = no game. The direct index of every per-game list.
using GameVersion = int;
constexpr GameVersion kNoGame = 0;
constexpr GameVersion kCfs1 = 1;
constexpr GameVersion kCfs2 = 2;
// Both games, in the order everything that visits each of them goes.
inline constexpr GameVersion kGames[] = {kCfs1, kCfs2};

// Bits of AppState::installedGames.
constexpr unsigned installedBit(GameVersion game) { return game == kCfs1 ? 1u : game == kCfs2 ? 2u : 0u; }

struct GameProfile {
    const char* registryKey;       // under HKEY_LOCAL_MACHINE
    const char* executable;        // in the game directory
    const char* configFile;        // in the game directory
    const char* backupRoot;        // relative to the program's directory
    bool hasShips;
    const char* displayName;       // "CFS1", "CFS2": how every box and control names the game
    const char* idListSection;     // section of idlist.txt naming this game's unit types
    const char* secondExecutable;  // present when the host tool has taken over the game's executable
    const char* launchCaption;
    const char* keptRoot;          // relative to the program's directory: game files kept before a swap replaced them
};

// Indexed by GameVersion; row 0 holds no game.
extern const GameProfile GameTable[3];

// The row of `game`; the empty row 0 for anything but 1 and 2.
const GameProfile& gameProfile(GameVersion game);

// Folder and file names shared by both games.
inline constexpr const char* kMissionsFolder = "missions";
inline constexpr const char* kObjectDpFolder = "objects_dp";
inline constexpr const char* kShipsFolder = "ships";
inline constexpr const char* kSessionMission = "multiplayer.mis";
// In the backup root, in place of a backed-up multiplayer.mis: the game had
// none of its own at its first backup. Named so that nothing takes it for a
// game file.
inline constexpr const char* kNoSessionMissionRecord = "no-multiplayer-mis.txt";
inline constexpr const char* kShipConfig = "ship.cfg";
inline constexpr const char* kIdList = "idlist.txt";
inline constexpr const char* kSettingsFileName = "Velmora.ini";

// The host tool for IP games: a program in a folder of the game directory.
inline constexpr const char* kHostToolFolder = "Tarnwick";
inline constexpr const char* kHostToolProgram = "Select.exe";

// The entry of the mission list that stands for the game's own session mission.
inline constexpr const char* kOriginalMission = "Original mp.mis file";

// Caption of message boxes that have none of their own: the executable's name.
inline constexpr const char* kAppTitle = "Velmora";

}  // namespace velmora
