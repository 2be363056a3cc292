#include "core/GameDataFiles.h"

#include <charconv>

#include "core/Text.h"

namespace velmora {

namespace {

// A section name with a number, built in place: the roster asks for
// thousands of them.
std::string numbered(std::string_view prefix, int n) {
    char buffer[32];
    const size_t length = prefix.copy(buffer, prefix.size());
    const auto end = std::to_chars(buffer + length, buffer + sizeof buffer, n).ptr;
    return std::string(buffer, static_cast<size_t>(end - buffer));
}

}  // namespace

std::string unitTypeSection(int n) { return numbered("unit_type.", n); }
std::string unitSection(int n) { return numbered("unit.", n); }
std::string fltsimSection(int n) { return numbered("FLTSIM.", n); }

MissionFile MissionFile::load(FileSystem& files, const std::string& path) {
    return MissionFile(ProfileFile::load(files, path));
}

int MissionFile::unitTypeId(int n) const { return profile_.getInt(unitTypeSection(n), "type_id", -1); }
int MissionFile::unitTypeAllegiance(int n) const { return profile_.getInt(unitTypeSection(n), "allegiance", -1); }
std::string MissionFile::unitTypeName(int n) const {
    return profile_.getString(unitTypeSection(n), "name", "", kNameSize);
}
int MissionFile::unitTypeIdOfUnit(int n) const { return profile_.getInt(unitSection(n), "type_id", -1); }
int MissionFile::unitAllegiance(int n) const { return profile_.getInt(unitSection(n), "allegiance", -1); }

std::string MissionFile::typeIdProbe(std::string_view section) const {
    return profile_.getString(section, "type_id", "x", kProbeSize);
}

UnitNameList UnitNameList::load(FileSystem& files, const std::string& path) {
    return UnitNameList(ProfileFile::load(files, path));
}

std::string UnitNameList::name(GameVersion game, int typeId) const {
    const char* section = game == kCfs1 ? GameTable[kCfs1].idListSection : GameTable[kCfs2].idListSection;
    return profile_.getString(section, decimal(typeId), "", kNameSize);
}

int dpOwnAllegiance(const ProfileFile& dp) { return dp.getInt("misc_data", "allegiance", -1); }

namespace {
constexpr std::string_view kRewriteMark = "; modified by Velmora";

// Whether `text` holds `line` as a whole line, spaces around it allowed.
// `unit` is the width of one character: 1, or 2 for UTF-16LE.
bool holdsLine(std::string_view text, std::string_view line, size_t unit) {
    auto blankAt = [&](size_t i) {
        if (i + unit > text.size() || (unit == 2 && text[i + 1] != '\0')) return false;
        return text[i] == ' ' || text[i] == '\t';
    };
    auto endsLine = [&](size_t i) {
        while (blankAt(i)) i += unit;
        return i >= text.size() || ((text[i] == '\r' || text[i] == '\n') && (unit == 1 || text[i + 1] == '\0'));
    };
    auto startsLine = [&](size_t i) {
        while (i >= unit && blankAt(i - unit)) i -= unit;
        return i < unit || ((text[i - unit] == '\r' || text[i - unit] == '\n') && (unit == 1 || text[i - 1] == '\0'));
    };
    std::string pattern;
    for (char c : line) {
        pattern += c;
        if (unit == 2) pattern += '\0';
    }
    for (size_t at = text.find(pattern); at != std::string_view::npos; at = text.find(pattern, at + 1))
        if ((unit == 1 || at % 2 == 0) && startsLine(at) && endsLine(at + pattern.size())) return true;
    return false;
}
}  // namespace

bool isRewrittenDp(std::string_view bytes) {
    return holdsLine(bytes, kRewriteMark, 1) || holdsLine(bytes, kRewriteMark, 2);
}

const std::vector<std::string> kGunstationLines = {
    std::string(kRewriteMark),
    "gunstation.0=0,-1,1,0.15,1,0.01,0.01,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6",
};
const std::vector<std::string> kGunLines = {
    std::string(kRewriteMark),
    "gun.0=1,0,0,0,0,0,0,1",
};

void applyGunRewrite(ProfileFile& dp) {
    dp.setSection("gunstations", kGunstationLines);
    dp.setSection("guns.0", kGunLines);
}

std::string shipSimValue(const ProfileFile& shipConfig, int n) {
    return shipConfig.getString(fltsimSection(n), "SIM", "", kSimValueSize);
}

}  // namespace velmora
