// Runs one generated case on both sides and compares every read, and finds
// the smallest file and writes that still show a disagreement.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "differential/ProfileCases.h"
#include "differential/WineDifferences.h"

namespace velmora::differential {

// The two copies of the case's file: one only the Win32 functions touch,
// one only Velmora's operations write.
struct Workspace {
    std::string windowsFile;
    std::string velmoraFile;
};

// A read both sides answered differently.
struct Mismatch {
    Op read;
    bool ofVelmoraFile = false;  // Windows read the file Velmora wrote
    std::string windows;
    std::string velmora;
};

struct CaseResult {
    size_t comparisons = 0;
    std::array<size_t, static_cast<size_t>(WineQuirk::Count)> explained{};
    size_t skipped = 0;  // reads of the section a byte-order mark hides
    std::optional<Mismatch> mismatch;
};

CaseResult runCase(const Case& profileCase, const Workspace& workspace);

// A failing case cut down to its first disagreement, then to as few writes
// and file lines as still show it.
struct Reproduction {
    bool fileExists = true;
    bool utf16 = false;
    std::string file;
    std::vector<Op> writes;
    Mismatch mismatch;
    std::string windowsFileAfter;
    std::string velmoraFileAfter;
};

Reproduction minimise(const Case& profileCase, const Mismatch& first, const Workspace& workspace);
std::string describe(const Reproduction& reproduction);

}  // namespace velmora::differential
