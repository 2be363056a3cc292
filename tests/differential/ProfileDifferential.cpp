// profile_differential: runs generated INI files and operations through the
// Win32 private-profile functions and through Velmora's engine, and reports
// every read on which they disagree, cut down to a small reproduction.
//
//   profile_differential [--seed N] [--cases N] [--case I] [--dir FOLDER]
//
// Without --seed each run takes a new one; the seed printed reproduces the
// run, and --case I runs case I of it alone.
#include <windows.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "differential/CaseRunner.h"
#include "differential/KnownDifferences.h"
#include "differential/ProfileEngines.h"

using namespace velmora::differential;

namespace {

constexpr size_t kMismatchesShown = 5;

struct Options {
    uint64_t seed = 0;
    bool seedGiven = false;
    uint64_t cases = 10000;
    bool oneCase = false;
    uint64_t caseIndex = 0;
    std::string dir;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const char* next = argv[++i];
        if (arg == "--seed") {
            options.seed = std::strtoull(next, nullptr, 0);
            options.seedGiven = true;
        } else if (arg == "--cases") {
            options.cases = std::strtoull(next, nullptr, 0);
        } else if (arg == "--case") {
            options.caseIndex = std::strtoull(next, nullptr, 0);
            options.oneCase = true;
        } else if (arg == "--dir") {
            options.dir = next;
        } else {
            return false;
        }
    }
    return true;
}

uint64_t freshSeed() {
    const auto now = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    return Rng(now ^ (static_cast<uint64_t>(::GetCurrentProcessId()) << 32)).next() >> 16;
}

std::string workFolder(const Options& options) {
    std::string dir = options.dir;
    if (dir.empty()) {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "velmora-differential-" + std::to_string(::GetCurrentProcessId());
    }
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: profile_differential [--seed N] [--cases N] [--case I] [--dir FOLDER]\n");
        return 2;
    }
    if (!options.seedGiven) options.seed = freshSeed();
    const std::string dir = workFolder(options);
    const Workspace workspace{dir + "\\windows.ini", dir + "\\velmora.ini"};
    const auto start = std::chrono::steady_clock::now();

    bool ok = showKnownDifferences(workspace);
    std::printf("profile differential: seed %llu\n", static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);

    const uint64_t first = options.oneCase ? options.caseIndex : 0;
    const uint64_t last = options.oneCase ? options.caseIndex + 1 : options.cases;
    uint64_t run = 0, agreed = 0, comparisons = 0, skipped = 0, mismatches = 0, utf16Run = 0, utf16Agreed = 0;
    std::array<size_t, static_cast<size_t>(WineQuirk::Count)> explained{};
    for (uint64_t index = first; index < last; ++index) {
        const Case profileCase = generateCase(options.seed, index);
        if (options.oneCase) {
            std::printf("case %llu: file %s%s\n", static_cast<unsigned long long>(index),
                        profileCase.utf16 ? "(UTF-16LE) " : "",
                        profileCase.fileExists ? quoted(profileCase.file).c_str() : "(none)");
            for (const Op& op : profileCase.ops) std::printf("  %s\n", describe(op).c_str());
        }
        const CaseResult result = runCase(profileCase, workspace);
        ++run;
        utf16Run += profileCase.utf16 ? 1 : 0;
        comparisons += result.comparisons;
        skipped += result.skipped;
        for (size_t q = 0; q < explained.size(); ++q) explained[q] += result.explained[q];
        if (!result.mismatch) {
            ++agreed;
            utf16Agreed += profileCase.utf16 ? 1 : 0;
            continue;
        }
        if (++mismatches > kMismatchesShown) continue;
        const Reproduction reproduction = minimise(profileCase, *result.mismatch, workspace);
        std::printf("MISMATCH in case %llu (rerun: --seed %llu --case %llu); smallest reproduction:\n%s",
                    static_cast<unsigned long long>(index), static_cast<unsigned long long>(options.seed),
                    static_cast<unsigned long long>(index), describe(reproduction).c_str());
        std::fflush(stdout);
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("profile differential: seed %llu: %llu cases run, %llu agreed, %llu disagreed; %llu reads compared "
                "in %.1f s\n",
                static_cast<unsigned long long>(options.seed), static_cast<unsigned long long>(run),
                static_cast<unsigned long long>(agreed), static_cast<unsigned long long>(mismatches),
                static_cast<unsigned long long>(comparisons), seconds);
    std::printf("  of them UTF-16LE files: %llu run, %llu agreed; ANSI: %llu run, %llu agreed\n",
                static_cast<unsigned long long>(utf16Run), static_cast<unsigned long long>(utf16Agreed),
                static_cast<unsigned long long>(run - utf16Run), static_cast<unsigned long long>(agreed - utf16Agreed));
    for (size_t q = 1; q < explained.size(); ++q)
        std::printf("  reads explained by a known Wine difference (%s): %llu\n",
                    quirkName(static_cast<WineQuirk>(q)), static_cast<unsigned long long>(explained[q]));
    std::printf("  reads of a section behind a byte-order mark, not compared: %llu\n",
                static_cast<unsigned long long>(skipped));

    removeFile(workspace.windowsFile);
    removeFile(workspace.velmoraFile);
    if (options.dir.empty()) ::RemoveDirectoryA(dir.c_str());
    return ok && mismatches == 0 ? 0 : 1;
}
