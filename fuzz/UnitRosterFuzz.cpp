// Fuzzes the unit roster's build from a session mission and an idlist.txt.
//
// The input is the mission's text, then a NUL byte and idlist.txt's text;
// the first byte picks the game. Whatever the files hold, the build ends
// complete without a message or with the one message of an unknown type,
// "Mission error, name of unit.N unknown" (never out of memory: nothing
// limits the roster here), every record's name keeps at most 255 bytes, and
// the roster finds each record's type at its first record of that type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "swap/UnitRoster.h"
#include "testkit/TestApp.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = input.find('\0');

    static testkit::TestApp app;
    app.dialog.clearBoxes();
    app.state.activeGame = (data[0] & 1) ? kCfs1 : kCfs2;
    app.state.gameDir = app.root / "game";
    testkit::writeText(app.state.paths().sessionMission(), input.substr(0, split));
    testkit::writeText(app.state.paths().idList(), split == std::string::npos ? "" : input.substr(split + 1));

    UnitRoster roster;
    const RosterOutcome outcome = buildUnitRoster(app.state, app.state.paths().sessionMission(), roster);
    if (outcome == RosterOutcome::OutOfMemory) std::abort();
    if (app.dialog.boxes().size() != (outcome == RosterOutcome::UnknownType ? 1u : 0u)) std::abort();
    const std::string unknown = "Mission error, name of unit.";
    if (outcome == RosterOutcome::UnknownType && !app.dialog.boxes()[0].text.starts_with(unknown)) std::abort();
    for (size_t i = 0; i < roster.size(); ++i) {
        const auto first = roster.findTypeById(roster[i].typeId);
        if (roster[i].name.size() > 255 || !first || *first > i || roster[*first].typeId != roster[i].typeId)
            std::abort();
    }
    return 0;
}
