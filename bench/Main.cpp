// velmora-bench [--small | --size small|medium|large] [--only OPERATION] [--runs N]
//
// Writes CFS2 installations of three sizes into a temporary folder and times,
// on each, the operations that do Velmora's file work: the first backup, the
// start-up check of a complete backup, an Axis swap of a big session mission,
// the restore, the mission list and the unit roster. Each run of an
// operation is followed at once by a run of its plain baseline, on fresh
// copies (A, B, A, B, ...); the table prints the median of each, the median
// of the per-run ratios, so that a drift of the machine's load cancels out,
// and the operation's peak memory, then how the times grow with the size.
// --small times the small installation only (the test script's check that
// the benchmark still works); --size and --only (backup, start-up, swap,
// list, roster) narrow a run down while profiling.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MissionList.h"
#include "backup/BackupOriginals.h"
#include "bench/Baselines.h"
#include "bench/BenchInstall.h"
#include "bench/Measure.h"
#include "core/ProfileFile.h"
#include "core/Text.h"
#include "res/resource.h"
#include "swap/SwapEngine.h"
#include "swap/UnitRoster.h"
#include "testkit/TestApp.h"

namespace fs = std::filesystem;

namespace velmora::bench {
namespace {

// The size of the file of CR line ends alone: several megabytes, where a
// split that searched for LF from every line start would take seconds.
constexpr size_t kCrOnlyBytes = 2 << 20;

// One thing to time: set up in this process, set up in the child, then the
// timed part, whose result must pass `check` (run here, afterwards).
struct Job {
    std::function<void()> before;
    std::function<void()> prepare;
    std::function<long()> timed;
    std::function<bool(long)> check;
    const char* what;
};

struct Row {
    std::string operation;
    std::string size;
    int dpFiles = 0;
    double ms = 0;
    double cpuMs = 0;
    std::string baseline;
    double baseMs = 0;
    double ratio = 0;  // the median of the per-run ratios to the baseline
    double goal = 0;  // the most the ratio may be on the large installation; 0 for none
    long peakKb = 0;
    // Further references, shown under the row: for swap and restore, a copy
    // into an empty folder and the deletion of as many compiled siblings.
    std::vector<std::pair<std::string, double>> references;
    std::vector<double> referenceRatios;  // the median per-run ratio to each reference
};

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// Runs the jobs in turn, `runs` times over, so that a change of load on the
// machine falls on all of them alike. Returns each job's samples.
std::vector<std::vector<Sample>> roundRobin(const std::vector<Job>& jobs, int runs) {
    std::vector<std::vector<Sample>> samples(jobs.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t j = 0; j < jobs.size(); ++j) {
            const Job& job = jobs[j];
            if (job.before) job.before();
            const Sample sample = runOnce(job.prepare, job.timed);
            if (job.check && !job.check(sample.result)) {
                std::fprintf(stderr, "velmora-bench: %s gave an unexpected result (%ld)\n", job.what, sample.result);
                std::exit(1);
            }
            samples[j].push_back(sample);
        }
    }
    return samples;
}

double medianMs(const std::vector<Sample>& samples, double Sample::*field = &Sample::ms) {
    std::vector<double> ms;
    for (const Sample& sample : samples) ms.push_back(sample.*field);
    return median(ms);
}

// The median over the runs of each run's `samples` against its `baseline`.
double medianRatio(const std::vector<Sample>& samples, const std::vector<Sample>& baseline) {
    std::vector<double> ratios;
    for (size_t run = 0; run < samples.size() && run < baseline.size(); ++run)
        if (baseline[run].ms > 0) ratios.push_back(samples[run].ms / baseline[run].ms);
    return median(ratios);
}

long peakKb(const std::vector<Sample>& samples) {
    long peak = 0;
    for (const Sample& sample : samples) peak = std::max(peak, sample.peakKb);
    return peak;
}

class SizeRun {
public:
    SizeRun(const InstallSize& size, int runs, std::string only) : size_(size), runs_(runs), only_(std::move(only)) {
        {
            BenchInstall install = makeBenchInstall(size);
            app_.install(install.game);
            testkit::writeText(app_.state.paths().idList(), install.idList);
            sessionMission_ = install.sessionMission;
            dpFiles_ = install.dpFiles;
            rosterTypes_ = install.rosterTypes;
            axisDps_ = install.axisDps;
            missions_ = size.missions;
        }
        // The description is gone; its memory goes back too, so that no
        // child starts with it counted.
        ::malloc_trim(0);
        app_.activate(kCfs2);
        app_.dialog.enable(IDC_MISSION, true);
    }

    void run(std::vector<Row>& rows) {
        const GamePaths paths = app_.state.paths();
        AppState& state = app_.state;
        const std::string copyFolder = app_.root / "plain-copy";
        const auto clearCopy = [this, copyFolder] { retire(copyFolder); };
        const auto allCopied = [this](long files) { return files == dpFiles_; };
        const auto zero = [](long result) { return result == 0; };

        // First backup: an empty backup tree and no settings file, as on the
        // first start-up.
        const auto freshStart = [this, paths, &state] {
            retire(paths.backupRoot());
            fs::remove(state.settingsPath);
        };
        Job backup{freshStart, {}, [&state] { return static_cast<long>(backupOriginals(state)); }, zero,
                   "first backup"};
        Job backupCopy{clearCopy, {},
                       [this, copyFolder] { return plainCopy(app_.gameDir(kCfs2), copyFolder, true); },
                       [this](long files) { return files == dpFiles_ + 1; }, "plain copy"};
        if (wanted("backup")) {
            add(rows, "first backup", "plain copy", 1.5, roundRobin({backup, backupCopy}, runs_));
        } else {
            freshStart();
            backupOriginals(state);
            app_.dialog.clearBoxes();  // its summary is not the start-up check's
        }

        Job startUp{{}, {}, [this, &state] {
                        const int result = backupOriginals(state);
                        return result != 0 ? -1L : static_cast<long>(app_.dialog.boxes().size());
                    },
                    zero, "start-up check"};
        Job walk{{}, {}, [this, paths] { return statWalk({app_.gameDir(kCfs2), paths.backupRoot()}); },
                 [](long files) { return files > 0; }, "stat walk"};
        if (wanted("start-up")) add(rows, "start-up check", "stat walk", 3, roundRobin({startUp, walk}, runs_));

        // Each swap starts from the originals with the compiled siblings the
        // game makes when it runs; each restore from the swapped DPs.
        const auto gamePlayed = [this] { compileDps(); };
        Job swap{gamePlayed,
                 [this, &state] {
                     fillMissionList(state);
                     app_.dialog.pick(IDC_MISSION, sessionMission_);
                 },
                 [&state] { return static_cast<long>(swapMission(state, SwapMode::AxisFriendly)); },
                 [this](long result) { return result == 0 && modifiedDpCount() == axisDps_; }, "Axis swap"};
        Job restore{gamePlayed, {},
                    [&state] { return static_cast<long>(swapMission(state, SwapMode::RestoreOriginals)); },
                    [this](long result) { return result == 0 && modifiedDpCount() == 0; }, "restore"};
        // A plain restore is a copy of the backed-up DPs over the game's own:
        // the baseline copies them over a copy of themselves. A copy into an
        // empty folder, which frees no old file, is shown beside it.
        const auto copyBackup = [this, paths, copyFolder] { return plainCopy(paths.backupRoot(), copyFolder, false); };
        const auto copyToBeOverwritten = [this, paths, copyFolder] {
            retire(copyFolder);
            plainCopy(paths.backupRoot(), copyFolder, false);
        };
        Job swapCopy{copyToBeOverwritten, {}, copyBackup, allCopied, "copy over DPs"};
        Job restoreCopy{copyToBeOverwritten, {}, copyBackup, allCopied, "copy over DPs"};
        Job emptyCopy{clearCopy, {}, copyBackup, allCopied, "copy to empty"};
        // What deleting the compiled siblings costs alone: the part of a swap
        // that no copy does, and the dearest where every deleted file waits
        // for the disk to discard its blocks.
        const std::string siblings = app_.root / "siblings";
        Job deletion{[this, siblings] {
                         retire(siblings);
                         for (int i = 0; i < dpFiles_; ++i)
                             testkit::writeText(siblings + "/" + std::to_string(i) + ".cdp", "compiled");
                     },
                     {}, [this, siblings] {
                         long deleted = 0;
                         for (int i = 0; i < dpFiles_; ++i)
                             deleted += ::unlink((siblings + "/" + std::to_string(i) + ".cdp").c_str()) == 0 ? 1 : 0;
                         return deleted;
                     },
                     allCopied, "delete siblings"};
        if (wanted("swap")) {
            // Each operation right before its own baseline; the restore
            // after the swap it undoes.
            const auto cycle = roundRobin({swap, swapCopy, restore, restoreCopy, emptyCopy, deletion}, runs_);
            add(rows, "Axis swap", "copy over DPs", 1.2, {cycle[0], cycle[1], cycle[4], cycle[5]});
            add(rows, "restore", "copy over DPs", 1.2, {cycle[2], cycle[3], cycle[4], cycle[5]});
        }

        Job list{{}, {}, [this, &state] {
                     fillMissionList(state);
                     return static_cast<long>(app_.dialog.listEntries(IDC_MISSION).size());
                 },
                 [this](long entries) { return entries == missions_ + 1; }, "mission list"};
        Job listing{{}, {}, [paths] { return listNames(paths.missionsFolder()); },
                    [this](long names) { return names == missions_; }, "folder listing"};
        if (wanted("list")) add(rows, "mission list", "folder listing", 0, roundRobin({list, listing}, runs_));

        // The session mission in force, as after the swap.
        const auto sessionInForce = [paths, this] {
            fs::copy_file(paths.mission(sessionMission_), paths.sessionMission(), fs::copy_options::overwrite_existing);
        };
        Job roster{sessionInForce, {}, [&state] {
                       UnitRoster built;
                       if (buildUnitRoster(state, state.paths().sessionMission(), built) != RosterOutcome::Complete) return -1L;
                       return static_cast<long>(built.size());
                   },
                   [this](long types) { return types == rosterTypes_; }, "roster build"};
        Job parse{{}, {}, [paths] { return readAndParse(paths.sessionMission()); },
                  [](long size) { return size > 0; }, "mission parse"};
        if (wanted("roster")) add(rows, "roster build", "mission parse", 2, roundRobin({roster, parse}, runs_));

        // The session mission many times over, as one file with CR line ends
        // alone and one with CR LF: splitting at a lone CR must cost what
        // splitting at CR LF does, however long the file.
        const std::string crOnly = app_.root / "cr-only.mis";
        const std::string crLf = app_.root / "cr-lf.mis";
        const auto bigMissions = [paths, crOnly, crLf, this] {
            if (fs::exists(crOnly)) return;
            const std::string mission = testkit::readText(paths.mission(sessionMission_));
            std::string big;
            while (big.size() < kCrOnlyBytes) big += mission;
            std::string lone = big;
            lone.erase(std::remove(lone.begin(), lone.end(), '\n'), lone.end());
            testkit::writeText(crOnly, lone);
            testkit::writeText(crLf, big);
        };
        Job crParse{bigMissions, {}, [crOnly] { return readAndParse(crOnly); }, [](long size) { return size > 0; },
                    "CR-only parse"};
        Job crLfParse{{}, {}, [crLf] { return readAndParse(crLf); }, [](long size) { return size > 0; },
                      "CR LF parse"};
        if (wanted("roster")) add(rows, "CR-only parse", "CR LF parse", 1.5, roundRobin({crParse, crLfParse}, runs_));
    }

private:
    bool wanted(const char* operation) const { return only_.empty() || only_ == operation; }

    void add(std::vector<Row>& rows, const char* operation, const char* baseline, double goal,
             const std::vector<std::vector<Sample>>& samples) {
        Row row;
        row.operation = operation;
        row.size = size_.name;
        row.dpFiles = dpFiles_;
        row.ms = medianMs(samples[0]);
        row.cpuMs = medianMs(samples[0], &Sample::cpuMs);
        row.baseline = baseline;
        row.baseMs = medianMs(samples[1]);
        row.ratio = medianRatio(samples[0], samples[1]);
        row.goal = goal;
        row.peakKb = peakKb(samples[0]);
        for (size_t i = 2; i < samples.size(); ++i)
            row.references.emplace_back(i == 2 ? "copy to empty" : "delete siblings", medianMs(samples[i]));
        for (size_t i = 2; i < samples.size(); ++i) row.referenceRatios.push_back(medianRatio(samples[0], samples[i]));
        rows.push_back(row);
        // Every run, for a reader who wants to see the spread behind a median.
        std::fprintf(stderr, "  %-15s %-7s", operation, size_.name);
        for (const std::vector<Sample>& job : samples) {
            std::fprintf(stderr, " |");
            for (const Sample& sample : job) std::fprintf(stderr, " %.0f/%.0f", sample.ms, sample.cpuMs);
        }
        std::fprintf(stderr, " ms (wall/cpu)\n");
    }

    // Moves a folder out of the way instead of deleting it. On a file system
    // that holds back freed inodes for a minute (ext4 without a journal), a
    // run that creates files right after thousands were deleted pays for
    // skipping them all; that would be the set-up's cost, not the
    // operation's. Everything goes with the temporary folder at the end.
    void retire(const std::string& folder) {
        if (!fs::exists(folder)) return;
        const std::string retired = app_.root / "retired";
        fs::create_directory(retired);
        fs::rename(folder, retired + "/" + std::to_string(retiredCount_++));
    }

    // A compiled sibling beside every DP of the game.
    void compileDps() {
        const GamePaths paths = app_.state.paths();
        for (const std::string& folder : {paths.objectDpFolder(), paths.shipsFolder()})
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
                if (endsWithIgnoreCase(entry.path().filename().string(), ".dp"))
                    testkit::writeText(cdpSibling(entry.path().string()), "compiled");
    }

    long modifiedDpCount() {
        const ProfileFile settings = ProfileFile::load(app_.state.files(), app_.state.settingsPath);
        long count = 0;
        for (size_t from = settings.text().find("=guns modified"); from != std::string::npos;
             from = settings.text().find("=guns modified", from + 1))
            ++count;
        return count;
    }

    const InstallSize& size_;
    int runs_;
    std::string only_;
    testkit::TestApp app_;
    std::string sessionMission_;
    int dpFiles_ = 0;
    int rosterTypes_ = 0;
    int axisDps_ = 0;
    int missions_ = 0;
    int retiredCount_ = 0;
};

void printTable(const std::vector<Row>& rows, int runs) {
    std::printf("\n%-15s %-7s %6s %10s %8s  %-15s %10s %6s  %-11s %8s\n", "operation", "size", "DPs", "median ms",
                "cpu ms", "baseline", "base ms", "ratio", "goal", "peak MB");
    for (const Row& row : rows) {
        const double ratio = row.ratio;
        std::string goal = "-";
        if (row.goal > 0 && row.size == "large") {
            char text[32];
            std::snprintf(text, sizeof text, "<=%.1fx %s", row.goal, ratio <= row.goal ? "met" : "MISSED");
            goal = text;
        }
        std::printf("%-15s %-7s %6d %10.1f %8.1f  %-15s %10.1f %6.2f  %-11s %8.1f\n", row.operation.c_str(),
                    row.size.c_str(), row.dpFiles, row.ms, row.cpuMs, row.baseline.c_str(), row.baseMs, ratio,
                    goal.c_str(), static_cast<double>(row.peakKb) / 1024.0);
        for (size_t i = 0; i < row.references.size(); ++i)
            std::printf("%-15s %-7s %6s %10s %8s  %-15s %10.1f %6.2f\n", "", "", "", "", "",
                        row.references[i].first.c_str(), row.references[i].second, row.referenceRatios[i]);
    }
    std::printf("(median of %d runs each; ratio: the median of the per-run ratios; peak memory goal < 32 MB)\n",
                runs);
}

void printGrowth(const std::vector<Row>& rows) {
    std::map<std::string, std::vector<const Row*>> byOperation;
    std::vector<std::string> order;
    for (const Row& row : rows) {
        if (byOperation[row.operation].empty()) order.push_back(row.operation);
        byOperation[row.operation].push_back(&row);
    }
    const std::vector<const Row*>& first = byOperation[order.front()];
    // The CPU time shows how the work grows; the wall time also carries
    // whatever the disk and the other processes did meanwhile.
    std::printf("\nGrowth, small -> medium -> large (DP files x%.1f, then x%.1f):\n",
                static_cast<double>(first[1]->dpFiles) / first[0]->dpFiles,
                static_cast<double>(first[2]->dpFiles) / first[1]->dpFiles);
    std::printf("%-15s %-15s %-15s %s\n", "operation", "cpu time", "median time", "baseline time");
    const auto growth = [](double small, double medium, double large) {
        char text[32];
        std::snprintf(text, sizeof text, "x%.1f  x%.1f", medium / small, large / medium);
        return std::string(text);
    };
    for (const std::string& operation : order) {
        const std::vector<const Row*>& s = byOperation[operation];
        std::printf("%-15s %-15s %-15s %s\n", operation.c_str(), growth(s[0]->cpuMs, s[1]->cpuMs, s[2]->cpuMs).c_str(),
                    growth(s[0]->ms, s[1]->ms, s[2]->ms).c_str(), growth(s[0]->baseMs, s[1]->baseMs, s[2]->baseMs).c_str());
    }
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    std::vector<const InstallSize*> sizes{&smallInstall(), &mediumInstall(), &largeInstall()};
    std::string only;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--small") {
            sizes = {&smallInstall()};
        } else if (option == "--size" && (std::strcmp(value, "small") == 0 || std::strcmp(value, "medium") == 0 ||
                                          std::strcmp(value, "large") == 0)) {
            for (const InstallSize* size : {&smallInstall(), &mediumInstall(), &largeInstall()})
                if (std::strcmp(size->name, value) == 0) sizes = {size};
            ++i;
        } else if (option == "--only" && *value) {
            only = value;
            ++i;
        } else if (option == "--runs" && *value) {
            runs = std::max(1, std::atoi(value));
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: velmora-bench [--small | --size small|medium|large] "
                         "[--only backup|start-up|swap|list|roster] [--runs N]\n");
            return 2;
        }
    }

    const std::string loadBefore = loadAverage();
    std::vector<Row> rows;
    // Each installation stays until the end: deleting one would hold back
    // its freed inodes while the next is timed (see SizeRun::retire).
    std::vector<std::unique_ptr<SizeRun>> installations;
    for (const InstallSize* size : sizes) {
        std::fprintf(stderr, "%s installation (load %s)\n", size->name, loadAverage().c_str());
        installations.push_back(std::make_unique<SizeRun>(*size, runs, only));
        installations.back()->run(rows);
    }
    printTable(rows, runs);
    if (sizes.size() == 3 && !rows.empty()) printGrowth(rows);
    std::printf("load average before: %s, after: %s (%ld cores)\n", loadBefore.c_str(), loadAverage().c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN));
    return 0;
}
