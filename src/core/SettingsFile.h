// Velmora.ini, the program's own settings beside its executable: which
// mission is swapped in per game, which side was last made friendly, which
// game was active at Quit, which DP files the last swap rewrote, and the
// format version that wrote it. It is created by its first write.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/GameTable.h"
#include "platform/Files.h"

namespace velmora {

inline constexpr const char* kMainSection = "MAIN";
inline constexpr const char* kVersionKey = "VLMR_VERSION";
inline constexpr const char* kSettingsVersion = "1.0";
inline constexpr const char* kVersionDefault = "0.0.0";
inline constexpr const char* kLastGameKey = "LAST_CFS_VERS";
inline constexpr const char* kStaticIpKey = "STATIC_IP";
inline constexpr const char* kModifiedDps1 = "MODIFIED_DPS_1";
inline constexpr const char* kModifiedDps2 = "MODIFIED_DPS_2";
inline constexpr const char* kGunsModified = "guns modified";
inline constexpr const char* kLastSaveDefault = "4";

// The per-game key names: the base name with its last character replaced by
// the game's digit. Each call returns its own text.
std::string curMissionKey(GameVersion game);    // "CUR_MISSION_1", "CUR_MISSION_2"
std::string lastSaveKey(GameVersion game);      // "LAST_SAVE_1", "LAST_SAVE_2"
std::string modifiedDpsKey(GameVersion game);   // "MODIFIED_DPS_1", "MODIFIED_DPS_2"

// Sizes of the buffers settings are read into; a value keeps at most one
// byte less.
inline constexpr size_t kSettingTextSize = 256;
inline constexpr size_t kStaticIpSize = 32;

// Typed access to the keys, each a single profile read or write of the file.
class SettingsFile {
public:
    SettingsFile(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // Whether the file can be opened for reading, the program's test of its existence.
    bool exists() const;
    bool remove() const;

    std::string version() const;
    bool writeVersion() const;

    std::string currentMission(GameVersion game) const;
    bool writeCurrentMission(GameVersion game, std::string_view mission) const;

    int lastSave(GameVersion game) const;               // 0 when absent
    std::string lastSaveText(GameVersion game) const;   // "4" when absent
    bool writeLastSave(GameVersion game, std::string_view mode) const;

    int lastGame() const;                               // 0 when absent
    bool writeLastGame(std::string_view game) const;

    std::string staticIp() const;                       // at most 31 bytes

    // [MODIFIED_DPS_x]: replaced as a whole.
    bool writeModifiedDps(std::string_view section, const std::vector<std::string>& lines) const;

private:
    FileSystem& files_;
    std::string path_;
};

}  // namespace velmora
