// Fuzzes the unit roster's build from a session mission and an idlist.txt.
//
// The input is the mission's text, then a NUL byte and idlist.txt's text;
// the first byte picks the game. Whatever the files hold, the build ends with
// one of its three outcomes, every record's name keeps at most 255 bytes, and
// a complete roster answers every unit's type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/GameDataFiles.h"
#include "swap/UnitRoster.h"
#include "testkit/InMemoryDialog.h"
#include "testkit/TempDir.h"

using namespace velmora;

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
            const MissionFile mission{ProfileFile(missionText)};
            for (int n = 0; mission.unitTypeIdOfUnit(n) != -1; ++n)
                if (!roster.findTypeById(mission.unitTypeIdOfUnit(n))) std::abort();
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
