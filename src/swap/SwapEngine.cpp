#include "swap/SwapEngine.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/MissionList.h"
#include "base/CodePage1252.h"
#include "core/AtomicFile.h"
#include "core/FileSearch.h"
#include "core/GameDataFiles.h"
#include "core/LeftoverTemporaries.h"
#include "core/Text.h"
#include "res/resource.h"
#include "swap/RosterMatch.h"
#include "swap/KeptFiles.h"
#include "swap/SiblingRemoval.h"
#include "swap/UnitRoster.h"

namespace velmora {
namespace {

// Which match rule a DP file's name answers to.
enum class DpKind { Object, Ship };

class SwapRun {
public:
    SwapRun(AppState& state, SwapMode mode)
        : state_(state), mode_(mode), files_(state.files()), paths_(state.paths()) {}

    int run();
    std::string keptNote() const { return kept_.note(); }

private:
    bool sideMode() const { return mode_ == SwapMode::AlliedFriendly || mode_ == SwapMode::AxisFriendly; }
    void showError(const std::string& text) {
        state_.dialog().messageBox(text, "Error", MessageIcon::Error, MessageButtons::Ok);
    }

    // Whether a swap may overwrite the game's multiplayer.mis; says why not.
    bool sessionMissionIsSafe();
    bool putMissionInPlace(const std::string& name);
    bool restoreObjectDps();
    bool restoreShipDps();
    void putDpBack(const std::string& fileName, const std::string& source, const std::string& target, DpKind kind);
    bool gunRewriteTest(const std::string& fileName, DpKind kind, const std::string& sourcePath,
                        std::optional<ProfileFile>& source);
    void deleteCdpSibling(const std::string& target);
    void ensureFolder(const std::string& folder);
    void logRewrite(const std::string& fileName);
    // The end of every run that reached the DP steps: the rewrite log, then
    // the files that could not be put back.
    // The compiled siblings that could not be deleted count as failures.
    void collectSiblingFailures();
    int finish(int result);

    AppState& state_;
    SwapMode mode_;
    FileSystem& files_;
    GamePaths paths_;
    UnitRoster roster_;
    std::optional<RosterMatcher> matcher_;  // in the side modes, once the roster is complete
    std::vector<std::string> rewritten_;
    std::unordered_set<std::string> loggedNames_;  // of rewritten_, case folded
    std::vector<std::string> failed_;
    bool missionPutBack_ = true;  // false: a restore left the session mission as it was
    SiblingRemoval siblings_{files_};
    KeptFiles kept_{files_, paths_, state_.gameDir};
};

int SwapRun::run() {
    if (!state_.requireGameFolder()) return 1;
    const SettingsFile settings = state_.settings();
    std::string name;
    if (mode_ == SwapMode::RestoreOriginals) {
        name = kOriginalMission;
        state_.dialog().setText(IDC_MISSION, name);
    } else {
        name = selectedMission(state_);
        if (!sessionMissionIsSafe()) return 1;
    }
    // A side swap must name every unit type before it changes anything: one
    // it cannot name stops it with the game and the settings as they were.
    // Restoring and swapping the mission alone rewrite no DP and need no names.
    if (sideMode()) {
        if (buildUnitRoster(state_, paths_.mission(name), roster_) != RosterOutcome::Complete) return 1;
        matcher_.emplace(roster_);
    }
    if (!putMissionInPlace(name)) return 1;
    const unsigned game = installedBit(state_.activeGame);
    if (mode_ != SwapMode::RestoreOriginals) state_.swappedGames |= game;

    // The settings name the mission in force: a restore that could not put
    // the original back leaves the swapped one named.
    if (missionPutBack_) settings.writeCurrentMission(state_.activeGame, name);
    fillMissionList(state_);
    settings.writeModifiedDps(modifiedDpsKey(state_.activeGame), {});

    if (!restoreObjectDps()) return finish(1);
    if (gameProfile(state_.activeGame).hasShips && !restoreShipDps()) return finish(1);
    collectSiblingFailures();
    if (!failed_.empty() || !missionPutBack_) return finish(1);

    finish(0);
    settings.writeLastSave(state_.activeGame, decimal(static_cast<int>(mode_)));
    if (mode_ == SwapMode::RestoreOriginals) state_.swappedGames &= ~game;
    return 0;
}

bool SwapRun::putMissionInPlace(const std::string& name) {
    const std::string session = paths_.sessionMission();
    removeLeftoverTemporaries(files_, state_.gameDir, paths_.separator());
    // Missions copied from CD are read-only; the user has asked for this one to go.
    if (files_.isReadOnly(session)) files_.makeWritable(session);

    if (mode_ == SwapMode::RestoreOriginals) {
        const std::string original = paths_.backupSessionMission();
        if (files_.exists(original)) {
            missionPutBack_ = copyReplacing(files_, original, session);
        } else if (files_.exists(paths_.backupNoSessionMissionRecord())) {
            // The game had none of its own: the one there now, a swap put there.
            missionPutBack_ = !files_.exists(session) || files_.removeFile(session);
        } else {
            missionPutBack_ = false;
            showError("The backup of " + std::string(gameProfile(state_.activeGame).displayName) +
                      " holds no multiplayer.mis, so the game's own\ncould not be put back. "
                      "Take it from the game's CD or a reinstall.");
            return true;
        }
        if (!missionPutBack_) failed_.push_back(session);
        return true;
    }
    if (copyReplacing(files_, paths_.mission(name), session)) return true;
    // Going on would record a mission that is not in force and rewrite the
    // DPs for the old one.
    showError(name.empty() ? std::string("No mission is selected.")
                           : "Could not copy the mission " + name + " to multiplayer.mis.");
    return false;
}

bool SwapRun::sessionMissionIsSafe() {
    // The game's own multiplayer.mis must be in the backup before a swap
    // overwrites it; a game that had none has a record of that instead.
    const std::string session = paths_.sessionMission();
    if (!files_.exists(session) || files_.exists(paths_.backupSessionMission()) ||
        files_.exists(paths_.backupNoSessionMissionRecord()))
        return true;
    showError("The backup holds no copy of the game's own multiplayer.mis,\nso a swap would lose it for good.\n\n"
              "Start Velmora again to back it up, then swap.");
    return false;
}

bool SwapRun::restoreObjectDps() {
    const std::vector<std::string> dps = findNames(files_, paths_.backupObjectDpFolder(), "*.dp");
    if (dps.empty()) {
        showError("Could not locate backup object DP's");
        return false;
    }
    ensureFolder(paths_.objectDpFolder());
    for (const std::string& file : dps)
        putDpBack(file, paths_.backupObjectDp(file), paths_.objectDp(file), DpKind::Object);
    return true;
}

bool SwapRun::restoreShipDps() {
    std::vector<DirEntry> entries;
    if (!files_.listFolder(paths_.backupShipsFolder(), entries)) {
        showError("Could not locate backup ships folder");
        return false;
    }
    // Every name without an extension is taken as a ship folder.
    std::vector<std::string> ships;
    for (const DirEntry& entry : entries)
        if (matchesWildcard(entry.name, "*.")) ships.push_back(entry.name);
    if (ships.empty()) {
        showError("Could not locate any backup ship sub-folders");
        return false;
    }
    ensureFolder(paths_.shipsFolder());
    for (const std::string& ship : ships) {
        // A ship the player has taken out of the game stays out: its
        // folder is not made again for its DPs alone.
        if (!files_.isDirectory(paths_.shipFolder(ship))) continue;
        const std::vector<std::string> dps = findNames(files_, paths_.backupShipFolder(ship), "*.dp");
        if (dps.empty()) {
            showError("Missing backup DP in ships\\" + ship + " folder");
            return false;
        }
        ensureFolder(paths_.shipFolder(ship));
        for (const std::string& file : dps)
            putDpBack(file, paths_.backupShipDp(ship, file), paths_.shipDp(ship, file), DpKind::Ship);
    }
    return true;
}

void SwapRun::putDpBack(const std::string& fileName, const std::string& source, const std::string& target,
                        DpKind kind) {
    std::optional<ProfileFile> original;  // the backup copy, read once when needed
    const bool rewrite = sideMode() && gunRewriteTest(fileName, kind, source, original);

    // The bytes the game's DP must hold: the original's, with two sections
    // replaced when it is rewritten. They are written in one step, and not
    // at all when the DP holds them already.
    std::string text;
    std::string backedUp;  // of a rewritten DP: a game DP equal to it is no one else's change
    const bool ready = original || files_.readFile(source, text);
    if (ready && rewrite) {
        ProfileFile dp = original ? std::move(*original) : ProfileFile(std::move(text));
        backedUp = dp.text();
        applyGunRewrite(dp);
        text = dp.text();
    } else if (original) {
        text = original->text();
    }
    const std::string_view backup = rewrite ? std::string_view(backedUp) : std::string_view(text);
    bool written = ready && kept_.replace(target, text, backup);
    // A read-only game file is made writable: the user asked for the original
    // back. (Rare, so asked only once a write has failed.)
    if (ready && !written && files_.isReadOnly(target) && files_.makeWritable(target))
        written = kept_.replace(target, text, backup);
    if (written && rewrite) logRewrite(fileName);
    if (!written) failed_.push_back(target);
    deleteCdpSibling(target);
}

bool SwapRun::gunRewriteTest(const std::string& fileName, DpKind kind, const std::string& sourcePath,
                             std::optional<ProfileFile>& source) {
    // Only the first record whose name matches decides.
    const std::optional<size_t> found =
        kind == DpKind::Object ? matcher_->firstObjectMatch(fileName) : matcher_->firstShipMatch(fileName);
    if (!found) return false;
    UnitTypeRecord& record = roster_[*found];
    // A type the mission gives no side takes the DP's own; a later DP of the
    // same type uses it without reading again.
    if (record.allegiance == -1) {
        std::string text;
        if (files_.readFile(sourcePath, text)) source = ProfileFile(std::move(text));
        record.allegiance = source ? dpOwnAllegiance(*source) : -1;
    }
    const int allegiance = record.allegiance;
    return allegiance >= 1 && (allegiance & 1) == (static_cast<int>(mode_) & 1);
}

void SwapRun::deleteCdpSibling(const std::string& target) {
    // A compiled DP left behind would keep the game on the old guns.
    siblings_.remove(cdpSibling(target));
}

void SwapRun::ensureFolder(const std::string& folder) {
    if (!files_.isDirectory(folder)) files_.makeDirectory(folder);
    // A swap killed earlier may have left half-written copies here.
    removeLeftoverTemporaries(files_, folder, paths_.separator());
}

void SwapRun::logRewrite(const std::string& fileName) {
    // One key per name: a second DP of the same name (in another ship folder)
    // rewrites the same key.
    if (loggedNames_.insert(foldedCase(fileName)).second) rewritten_.push_back(fileName);
}

void SwapRun::collectSiblingFailures() {
    for (std::string& sibling : siblings_.finish()) failed_.push_back(std::move(sibling));
}

int SwapRun::finish(int result) {
    collectSiblingFailures();
    if (!rewritten_.empty()) {
        std::vector<std::string> lines;
        lines.reserve(rewritten_.size());
        for (const std::string& file : rewritten_) lines.push_back(file + "=" + kGunsModified);
        state_.settings().writeModifiedDps(modifiedDpsKey(state_.activeGame), lines);
    }
    if (failed_.empty()) return result;

    std::string text = "Could not restore " + decimal(static_cast<long long>(failed_.size())) +
                       (failed_.size() == 1 ? " file:\n" : " files:\n");
    text += firstNamesThenMore(failed_);
    text += "\nClose the game if it is running, then try again.";
    showError(text);
    return 1;
}

}  // namespace

int swapMission(AppState& state, SwapMode mode, std::string* keptNote) {
    SwapRun run(state, mode);
    const int result = run.run();
    if (keptNote) *keptNote = run.keptNote();
    return result;
}

}  // namespace velmora
