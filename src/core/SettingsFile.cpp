#include "core/SettingsFile.h"

#include "core/PrivateProfile.h"

namespace velmora {
namespace {

std::string perGameKey(const char* base, GameVersion game) {
    std::string key(base);
    key.back() = static_cast<char>('0' + game);
    return key;
}

}  // namespace

std::string curMissionKey(GameVersion game) { return perGameKey("CUR_MISSION_x", game); }
std::string lastSaveKey(GameVersion game) { return perGameKey("LAST_SAVE_x", game); }
std::string modifiedDpsKey(GameVersion game) { return perGameKey("MODIFIED_DPS_x", game); }

bool SettingsFile::exists() const { return files_.canOpenForReading(path_); }
bool SettingsFile::remove() const { return files_.removeFile(path_); }

std::string SettingsFile::version() const {
    return getProfileString(files_, kMainSection, kVersionKey, kVersionDefault, kSettingTextSize, path_);
}
bool SettingsFile::writeVersion() const {
    return writeProfileString(files_, kMainSection, kVersionKey, kSettingsVersion, path_);
}

std::string SettingsFile::currentMission(GameVersion game) const {
    return getProfileString(files_, kMainSection, curMissionKey(game), kOriginalMission, kSettingTextSize, path_);
}
bool SettingsFile::writeCurrentMission(GameVersion game, std::string_view mission) const {
    return writeProfileString(files_, kMainSection, curMissionKey(game), mission, path_);
}

int SettingsFile::lastSave(GameVersion game) const {
    return getProfileInt(files_, kMainSection, lastSaveKey(game), 0, path_);
}
std::string SettingsFile::lastSaveText(GameVersion game) const {
    return getProfileString(files_, kMainSection, lastSaveKey(game), kLastSaveDefault, kSettingTextSize, path_);
}
bool SettingsFile::writeLastSave(GameVersion game, std::string_view mode) const {
    return writeProfileString(files_, kMainSection, lastSaveKey(game), mode, path_);
}

int SettingsFile::lastGame() const { return getProfileInt(files_, kMainSection, kLastGameKey, 0, path_); }
bool SettingsFile::writeLastGame(std::string_view game) const {
    return writeProfileString(files_, kMainSection, kLastGameKey, game, path_);
}

std::string SettingsFile::staticIp() const {
    return getProfileString(files_, kMainSection, kStaticIpKey, "", kStaticIpSize, path_);
}

bool SettingsFile::writeModifiedDps(std::string_view section, const std::vector<std::string>& lines) const {
    return writeProfileSection(files_, section, lines, path_);
}

}  // namespace velmora
