#include "backup/BackupOriginals.h"

#include <string>
#include <unordered_set>

#include "core/AtomicFile.h"
#include "core/FileSearch.h"
#include "core/GameDataFiles.h"
#include "core/GameInstall.h"
#include "core/LeftoverTemporaries.h"
#include "core/Text.h"
#include "swap/RunningGame.h"
#include "swap/SwapEngine.h"

namespace velmora {
namespace {

// A "SIM" value names a file in the ship's own folder; one that would lead
// out of it is refused.
bool isPlainFileName(const std::string& name) {
    return name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

class BackupRun {
public:
    explicit BackupRun(AppState& state)
        : state_(state), files_(state.files()), paths_(state.paths()), settings_(state.settings()) {}

    int run();

private:
    // An error box: the run's caption, the error icon, an OK button.
    int fail(const std::string& text) {
        state_.dialog().messageBox(text, backupCaption, MessageIcon::Error, MessageButtons::Ok);
        return 1;
    }
    void checkSettingsVersion();
    void writeSettingsKeys();
    bool makeFolder(const std::string& folder);
    int backUpSessionMission();
    int backUpObjectDps();
    int backUpShipDps();
    int backUpShip(const std::string& ship);
    // Copies are staged as they are found and placed in batches (see
    // DurableCopies), so that the run waits for the disk a few times, not
    // once per file; placeCopies() places the last and counts them all.
    // Each file is read once: the bytes looked at are the bytes copied. A DP
    // that holds Velmora's own rewrite is refused.
    void stageCopy(const std::string& source, const std::string& target, int& copied, bool dp);
    void recordNoSessionMission();
    void placeCopies();
    int reportFailedCopies();
    void reportRewrittenDps();
    int summary();

    AppState& state_;
    FileSystem& files_;
    GamePaths paths_;
    SettingsFile settings_;
    std::string backupCaption = "Unable to complete backup of ";
    bool settingsExisted_ = false;
    DurableCopies copies_{files_};
    struct Copy {
        std::string source;  // the game's file, as the player knows it
        int* counts;         // toward which count, once placed
        bool staged;         // false: it could not even be written beside its target
    };
    std::vector<Copy> wanted_;  // every copy tried, in order
    std::vector<std::string> failedCopies_;
    // What a backup folder holds is listed once, not asked of each file. A
    // name held in another letter case (which Windows would find) counts as
    // missing: its copy is staged, then refused a place beside the other.
    std::unordered_set<std::string> backedUpObjectDps_;
    int missionCopied_ = 0;  // 0 or 1
    int recordsMade_ = 0;    // not a copy of the game's: counted nowhere
    int objectDpsSeen_ = 0;
    int objectDpsCopied_ = 0;
    int shipDpsSeen_ = 0;
    int shipDpsCopied_ = 0;
    bool shipDpFound_ = false;
    std::vector<std::string> rewrittenDps_;  // game DPs refused as originals
};

int BackupRun::run() {
    backupCaption += gameProfile(state_.activeGame).displayName;
    checkSettingsVersion();
    writeSettingsKeys();

    if (!makeFolder(paths_.backupRoot())) return fail("Could not create BACKUP folder");
    if (!makeFolder(paths_.backupObjectDpFolder())) return fail("Could not create BACKUP\\OBJECTS_DP folder");
    const bool ships = gameProfile(state_.activeGame).hasShips;
    if (ships && !makeFolder(paths_.backupShipsFolder())) return fail("Could not create BACKUP\\SHIPS folder");
    // Copies cut short by a killed run left their temporary files here.
    removeLeftoverTemporaries(files_, paths_.backupRoot(), paths_.separator());
    backedUpObjectDps_ = removeLeftoverTemporaries(files_, paths_.backupObjectDpFolder(), paths_.separator());

    if (backUpSessionMission() != 0) return 1;
    const bool complete = backUpObjectDps() == 0 && (!ships || backUpShipDps() == 0);
    // What was copied before a failure stays backed up.
    placeCopies();
    if (!complete) return 1;
    // A backup with holes would let a swap overwrite an original that no
    // restore can put back.
    if (!failedCopies_.empty()) return reportFailedCopies();
    const int result = summary();
    reportRewrittenDps();
    return result;
}

void BackupRun::stageCopy(const std::string& source, const std::string& target, int& copied, bool dp) {
    std::string bytes;
    const bool read = files_.readFile(source, bytes);
    // A DP left rewritten by an earlier swap (its backup since lost) would
    // become the "original" every restore puts back.
    if (read && dp && isRewrittenDp(bytes)) {
        rewrittenDps_.push_back(source);
        return;
    }
    wanted_.push_back({source, &copied, read && copies_.add(target, bytes)});
}

void BackupRun::recordNoSessionMission() {
    // Kept in the backup tree, not in the settings file: it must outlive a
    // settings file that a version change or the player deletes while a
    // swapped mission is in force, or that mission would be backed up as
    // the game's own.
    const std::string record = paths_.backupNoSessionMissionRecord();
    const std::string text = std::string(gameProfile(state_.activeGame).displayName) +
                             " had no multiplayer.mis of its own when Velmora first backed it up.\r\n"
                             "Restore removes the multiplayer.mis a swap puts there.\r\n";
    wanted_.push_back({record, &recordsMade_, copies_.add(record, text)});
}

int BackupRun::reportFailedCopies() {
    const size_t count = failedCopies_.size();
    std::string text = "Could not back up " + decimal(static_cast<long long>(count)) +
                       (count == 1 ? " file:\n" : " files:\n");
    text += firstNamesThenMore(failedCopies_);
    text += "\nFree some space on the drive that holds Velmora, close any\nprogram that holds one of these files, or "
            "move Velmora\nto a folder with a shorter path, then start Velmora again.";
    return fail(text);
}

void BackupRun::reportRewrittenDps() {
    if (rewrittenDps_.empty()) return;
    const size_t count = rewrittenDps_.size();
    std::string text = decimal(static_cast<long long>(count)) +
                       (count == 1 ? " DP file was" : " DP files were") +
                       " changed by an earlier swap and not backed up:\n";
    text += firstNamesThenMore(rewrittenDps_);
    text += "\nThey are not the game's originals, so Velmora cannot restore them.\nPut the game's original files "
            "back (from the game's CD or a reinstall),\nthen start Velmora again.";
    state_.dialog().messageBox(text, backupCaption, MessageIcon::Error, MessageButtons::Ok);
}

void BackupRun::placeCopies() {
    const std::vector<DurableCopies::Outcome> outcomes = copies_.place();
    size_t next = 0;
    for (const Copy& copy : wanted_) {
        // A copy refused because its target is there already is no failure.
        const DurableCopies::Outcome outcome = copy.staged ? outcomes[next++] : DurableCopies::Outcome::Failed;
        if (outcome == DurableCopies::Outcome::Placed) ++*copy.counts;
        if (outcome == DurableCopies::Outcome::Failed) failedCopies_.push_back(copy.source);
    }
    wanted_.clear();
}

void BackupRun::checkSettingsVersion() {
    if (!settings_.exists()) return;
    settingsExisted_ = true;
    if (settings_.version() == kSettingsVersion) return;
    state_.dialog().messageBox("Different version of Velmora.\nOriginals being restored.\n", "FYI",
                               MessageIcon::None, MessageButtons::Ok);
    // The settings file records the swaps of both games: each is restored
    // before it goes (the other game only when it has a backup to restore).
    const GameVersion active = state_.activeGame;
    const std::string activeDir = state_.gameDir;
    for (GameVersion game : kGames) {
        if (!(state_.installedGames & installedBit(game))) continue;
        state_.activeGame = game;
        state_.gameDir = game == active ? activeDir : readGameDir(*state_.platform.registry, game);
        if (game == active || (!state_.gameDir.empty() && files_.isDirectory(state_.paths().backupRoot()))) {
            waitForGameToClose(state_);
            std::string kept;
            swapMission(state_, SwapMode::RestoreOriginals, &kept);
            if (!kept.empty()) state_.dialog().messageBox(kept, "FYI", MessageIcon::None, MessageButtons::Ok);
        }
    }
    state_.activeGame = active;
    state_.gameDir = activeDir;
    settings_.remove();
    settingsExisted_ = false;
}

void BackupRun::writeSettingsKeys() {
    const GameVersion game = state_.activeGame;
    settings_.writeVersion();
    // An existing value stays (cut to 255 bytes); a missing one gets its default.
    settings_.writeLastSave(game, settings_.lastSaveText(game));
    settings_.writeCurrentMission(game, settings_.currentMission(game));
    if (!settingsExisted_) {
        settings_.writeModifiedDps(kModifiedDps1, {});
        settings_.writeModifiedDps(kModifiedDps2, {});
    }
}

bool BackupRun::makeFolder(const std::string& folder) {
    return files_.makeDirectory(folder) != MakeDirResult::Failed;
}

int BackupRun::backUpSessionMission() {
    const std::string backup = paths_.backupSessionMission();
    if (files_.exists(backup)) return 0;
    // Whatever multiplayer.mis the game holds now, a swap put there.
    if (files_.exists(paths_.backupNoSessionMissionRecord())) return 0;
    const std::string source = paths_.sessionMission();
    if (!files_.exists(source)) {
        recordNoSessionMission();
        return 0;
    }
    // The game's own session mission describes at most one unit type and one
    // unit: a second one means a swapped-in mission is in place.
    const MissionFile mission = MissionFile::load(files_, source);
    const std::string secondType = mission.typeIdProbe(unitTypeSection(1));
    const std::string secondUnit = mission.typeIdProbe(unitSection(1));
    if (secondType != "x" || secondUnit != "x") {
        const std::string question = "Extra units or unit types found in existing " +
                                     std::string(gameProfile(state_.activeGame).displayName) +
                                     " multiplayer.mis file.\n\nAre you SURE you wish to backup this file?";
        if (state_.dialog().messageBox(question, "Possible problem", MessageIcon::None, MessageButtons::YesNo) ==
            MessageAnswer::No) {
            state_.dialog().messageBox("Velmora will now shut down.", "", MessageIcon::None, MessageButtons::Ok);
            return 1;
        }
    }
    stageCopy(source, backup, missionCopied_, false);
    return 0;
}

int BackupRun::backUpObjectDps() {
    const std::vector<std::string> dps = findNames(files_, paths_.objectDpFolder(), "*.dp");
    if (dps.empty()) return fail("Could not locate any original object DP's");
    for (const std::string& dp : dps) {
        if (backedUpObjectDps_.count(dp) == 0)
            stageCopy(paths_.objectDp(dp), paths_.backupObjectDp(dp), objectDpsCopied_, true);
        ++objectDpsSeen_;
    }
    return 0;
}

int BackupRun::backUpShipDps() {
    std::vector<DirEntry> entries;
    if (!files_.listFolder(paths_.shipsFolder(), entries)) return fail("Could not locate the original SHIPS folder");
    // Every name without an extension is taken as a ship folder; a file of
    // such a name holds no ship.cfg and adds nothing.
    for (const DirEntry& entry : entries)
        if (matchesWildcard(entry.name, "*.") && backUpShip(entry.name) != 0) return 1;
    if (!shipDpFound_) return fail("Could not locate any original ships");
    return 0;
}

int BackupRun::backUpShip(const std::string& ship) {
    bool subfolderPending = true;
    std::unordered_set<std::string> backedUpDps;  // in the backup ship folder, once it is made
    const ProfileFile shipConfig = ProfileFile::load(files_, paths_.shipConfig(ship));
    for (int n = 0;; ++n) {
        const std::string sim = shipSimValue(shipConfig, n);
        if (sim.empty()) return 0;
        const std::string dpFile = dpFileName(sim);
        const std::string source = paths_.shipDp(ship, dpFile);
        if (!isPlainFileName(sim) || !files_.canOpenForReading(source))
            return fail("Error is original ship config '" + ship + ".cfg', could not open " + dpFile);
        shipDpFound_ = true;
        if (subfolderPending) {
            if (!makeFolder(paths_.backupShipFolder(ship))) return fail("Error creating a backup ship subfolder");
            backedUpDps = removeLeftoverTemporaries(files_, paths_.backupShipFolder(ship), paths_.separator());
            subfolderPending = false;
        }
        if (backedUpDps.count(dpFile) == 0) stageCopy(source, paths_.backupShipDp(ship, dpFile), shipDpsCopied_, true);
        ++shipDpsSeen_;
    }
}

int BackupRun::summary() {
    const int copied = objectDpsCopied_ + shipDpsCopied_;
    if (copied == 0 && missionCopied_ == 0) return 0;
    std::string text = std::string(gameProfile(state_.activeGame).displayName) + " ";
    if (objectDpsCopied_ != objectDpsSeen_ || shipDpsCopied_ != shipDpsSeen_) text += "new ";
    if (objectDpsCopied_ != 0) text += "object ";
    if (objectDpsCopied_ != 0 && shipDpsCopied_ != 0) text += "and ";
    if (shipDpsCopied_ != 0) text += "ship ";
    if (copied > 0) text += copied == 1 ? "DP " : "DP's ";
    if (missionCopied_ != 0) text += copied > 0 ? "and multiplayer.mis " : "multiplayer.mis ";
    text += "successfully backed up.";
    state_.dialog().messageBox(text, "FYI", MessageIcon::None, MessageButtons::Ok);
    return 0;
}

}  // namespace

int backupOriginals(AppState& state) { return BackupRun(state).run(); }

}  // namespace velmora
