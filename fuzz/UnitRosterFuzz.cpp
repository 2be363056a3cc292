// Fuzzes the unit roster's build from a session mission and an idlist.txt.
//
// The input is the mission's text, then a NUL byte and idlist.txt's text;
// the first byte picks the game. Whatever the files hold, the build ends with
// one of its three outcomes, every record's name keeps at most 255 bytes, and
// a complete roster answers the type of every unit that a plain reading of
// the mission can tell (below), which does not use Velmora's INI engine.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "swap/UnitRoster.h"
#include "testkit/Cp1252Oracle.h"
#include "testkit/InMemoryDialog.h"
#include "testkit/TempDir.h"

using namespace velmora;

namespace {

// The type ids of units 0, 1, 2, ... of a narrow mission with CR LF or LF
// line ends, as long as each is plain: the one header "[unit.N]", the one
// line "type_id=<digits>" in it. Stops at the first unit that is not.
std::vector<int> plainUnitTypes(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(oracle::trimmed(text.substr(at, end - at)));
        at = end + 1;
    }
    std::vector<int> types;
    for (size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', cr + 1))
        if (cr + 1 == text.size() || text[cr + 1] != '\n') return types;  // CR-only ends: not plain
    if (text.find('\0') != std::string_view::npos || text.starts_with("\xFF\xFE")) return types;
    for (int n = 0;; ++n) {
        const std::string name = "unit." + std::to_string(n);
        int headers = 0, keys = 0;
        long value = -1;
        bool inside = false;
        for (std::string_view line : lines) {
            if (line.starts_with('[')) {
                const size_t close = line.rfind(']');
                inside = oracle::sameIgnoringCase(line, "[" + name + "]");
                if (close != std::string_view::npos && oracle::sameIgnoringCase(oracle::trimmed(line.substr(1, close - 1)), name))
                    ++headers;
                continue;
            }
            const std::string_view key = oracle::trimmed(line.substr(0, line.find('=')));
            if (!inside || !oracle::sameIgnoringCase(key, "type_id")) continue;
            ++keys;
            const std::string_view digits = oracle::trimmed(line.substr(line.find('=') + 1));
            value = digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string_view::npos
                        ? -1 : std::stol(std::string(digits));
        }
        if (headers != 1 || keys != 1 || value < 0) return types;
        types.push_back(static_cast<int>(value));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = input.find('\0');
    const std::string missionText = input.substr(0, split);

    static const testkit::TempDir dir;
    testkit::InMemoryDialog dialog;
    AppState state;
    state.platform.files = &platformFileSystem();
    state.platform.separator = '/';
    state.mainWindow = &dialog;
    state.activeGame = (data[0] & 1) ? kCfs1 : kCfs2;
    state.gameDir = dir / "game";
    state.appDir = dir / "app";
    testkit::writeText(state.paths().sessionMission(), missionText);
    testkit::writeText(state.paths().idList(), split == std::string::npos ? "" : input.substr(split + 1));

    UnitRoster roster;
    const RosterOutcome outcome = buildUnitRoster(state, state.paths().sessionMission(), roster);
    for (const UnitTypeRecord& record : roster)
        if (record.name.size() > 255) std::abort();
    switch (outcome) {
        case RosterOutcome::Complete: {
            if (!dialog.boxes().empty()) std::abort();
            for (const int type : plainUnitTypes(missionText))
                if (!roster.findTypeById(type)) std::abort();
            break;
        }
        case RosterOutcome::UnknownType:
            if (dialog.boxes().size() != 1) std::abort();
            break;
        case RosterOutcome::OutOfMemory:
            std::abort();  // nothing limits the roster here
    }
    return 0;
}
