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

namespace {

using namespace velmora;

// Two files held in memory; everything else is absent.
class TwoFiles final : public FileSystem {
public:
    std::string mission;
    std::string idList;

    bool listFolder(const std::string&, std::vector<DirEntry>&) override { return false; }
    bool exists(const std::string& path) override { return path == kMissionPath || path == kIdListPath; }
    bool isDirectory(const std::string&) override { return false; }
    bool canOpenForReading(const std::string& path) override { return exists(path); }
    bool readFile(const std::string& path, std::string& contents) override {
        if (path == kMissionPath) contents = mission;
        else if (path == kIdListPath) contents = idList;
        else return false;
        return true;
    }
    std::string writeTemporary(const std::string&, std::string_view, bool) override { return {}; }
    std::string copyToTemporary(const std::string&, const std::string&, bool) override { return {}; }
    bool replaceWithTemporary(const std::string&, const std::string&) override { return false; }
    bool moveTemporaryIntoPlace(const std::string&, const std::string&) override { return false; }
    bool flushTemporaries(const std::vector<std::string>&) override { return false; }
    void discardTemporary(const std::string&) override {}
    bool isReadOnly(const std::string&) override { return false; }
    bool makeWritable(const std::string&) override { return false; }
    MakeDirResult makeDirectory(const std::string&) override { return MakeDirResult::Failed; }
    bool removeFile(const std::string&) override { return false; }
    std::string currentDirectory() override { return "/"; }
    bool setCurrentDirectory(const std::string&) override { return false; }

    static constexpr const char* kMissionPath = "/game/multiplayer.mis";
    static constexpr const char* kIdListPath = "/app/idlist.txt";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = input.find('\0');

    TwoFiles files;
    files.mission = input.substr(0, split);
    if (split != std::string::npos) files.idList = input.substr(split + 1);
    testkit::InMemoryDialog dialog;
    AppState state;
    state.platform.files = &files;
    state.platform.separator = '/';
    state.mainWindow = &dialog;
    state.activeGame = (data[0] & 1) ? kCfs1 : kCfs2;
    state.gameDir = "/game";
    state.appDir = "/app";

    UnitRoster roster;
    const RosterOutcome outcome = buildUnitRoster(state, state.paths().sessionMission(), roster);
    for (const UnitTypeRecord& record : roster)
        if (record.name.size() > 255) std::abort();
    switch (outcome) {
        case RosterOutcome::Complete: {
            if (!dialog.boxes().empty()) std::abort();
            const MissionFile mission(ProfileFile(files.mission));
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
