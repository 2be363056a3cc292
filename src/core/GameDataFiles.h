// The sections and keys of the games' own files that Velmora reads or writes:
// missions, DP files, ship.cfg, the game configuration file and idlist.txt.
// Every other line of those files is left as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/GameTable.h"
#include "core/ProfileFile.h"
#include "platform/Files.h"

namespace velmora {

// Unit names are read into 256 bytes: at most 255 survive.
inline constexpr size_t kNameSize = 256;
// A ship.cfg "SIM" value is read into 260 bytes.
inline constexpr size_t kSimValueSize = 260;
// The "type_id" probe of the game's own multiplayer.mis reads into 64 bytes.
inline constexpr size_t kProbeSize = 64;

// "unit_type.7", "unit.7", "FLTSIM.7".
std::string unitTypeSection(int n);
std::string unitSection(int n);
std::string fltsimSection(int n);

// A mission file, read once and asked many times.
class MissionFile {
public:
    explicit MissionFile(ProfileFile profile) : profile_(std::move(profile)) {}
    static MissionFile load(FileSystem& files, const std::string& path);

    // [unit_type.N]: "type_id" (-1 when absent), "allegiance" (-1), "name".
    int unitTypeId(int n) const;
    int unitTypeAllegiance(int n) const;
    std::string unitTypeName(int n) const;
    // [unit.N]: "type_id" (-1 when absent), "allegiance" (-1).
    int unitTypeIdOfUnit(int n) const;
    int unitAllegiance(int n) const;

    // "type_id" of `section` as text with default "x" in 64 bytes: how the
    // backup tells a game's own session mission from a swapped-in one.
    std::string typeIdProbe(std::string_view section) const;

private:
    ProfileFile profile_;
};

// idlist.txt beside the program: unit type ids to names, per game section.
class UnitNameList {
public:
    explicit UnitNameList(ProfileFile profile) : profile_(std::move(profile)) {}
    static UnitNameList load(FileSystem& files, const std::string& path);
    // The name of `typeId` for `game` ("CFS" for CFS1, "CFS2" otherwise), "" when absent.
    std::string name(GameVersion game, int typeId) const;

private:
    ProfileFile profile_;
};

// [misc_data] "allegiance" of a DP file, -1 when absent.
int dpOwnAllegiance(const ProfileFile& dp);

// The gun rewrite that makes a DP's unit friendly: the [gunstations] and
// [guns.0] sections replaced by these lines.
extern const std::vector<std::string> kGunstationLines;
extern const std::vector<std::string> kGunLines;
void applyGunRewrite(ProfileFile& dp);
// Whether a DP file's bytes hold the rewrite's own comment line, in the
// file's narrow or UTF-16LE form: Velmora wrote it, it is no original.
bool isRewrittenDp(std::string_view bytes);

// ship.cfg: "SIM" of [FLTSIM.N], "" when absent.
std::string shipSimValue(const ProfileFile& shipConfig, int n);

// The game configuration file's two option keys.
inline constexpr const char* kCollisionSection = "MULTIPLAYER";
inline constexpr const char* kCollisionKey = "COLLISION_SECS";
inline constexpr int kCollisionDefault = 2;
inline constexpr const char* kFractionSection = "MAIN";
inline constexpr const char* kFractionKey = "DISPLAY_FRACTIONAL_MINUTES";
inline constexpr int kFractionDefault = 1;

}  // namespace velmora
