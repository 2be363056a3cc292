// Generated profile files and the operations run on them, for the comparison
// of the INI engine with the Windows private-profile functions.
//
// Everything here is a pure function of a seed, so that any case a run
// reports can be run again alone from the run's seed and the case's number.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velmora::differential {

// splitmix64: small, fast and the same on every compiler, unlike the
// distributions of <random>.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    // 0 .. bound - 1
    size_t below(size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(next() % bound); }
    // true with probability percent / 100
    bool chance(unsigned percent) { return below(100) < percent; }
    template <class T>
    const T& pick(const std::vector<T>& items) { return items[below(items.size())]; }

private:
    uint64_t state_;
};

struct Op {
    enum Kind { ReadString, ReadInt, WriteString, WriteSection } kind = ReadString;
    std::string section;
    std::string key;
    std::string text;                // default of a string read, value of a write
    unsigned size = 256;             // buffer size of a string read
    int intDefault = 0;              // default of an integer read
    std::vector<std::string> lines;  // a section replacement's list
};

struct Case {
    uint64_t seed = 0;
    bool fileExists = true;
    // The file's text; a UTF-16 case's file holds it as UTF-16LE after the
    // mark (fileBytes).
    std::string file;
    bool utf16 = false;
    std::vector<Op> ops;
    // Beside each write, the reads that check it: the names it wrote, the
    // names its section held, a few others.
    std::vector<std::vector<Op>> readBacks;
    // After the last operation, a few names of the case read once more.
    std::vector<Op> finalReads;
};

// Case number `index` of the run with seed `runSeed`.
Case generateCase(uint64_t runSeed, uint64_t index);

// What the file of a case holds on disk: `text` itself, or for a UTF-16
// case the mark and `text` as UTF-16LE, its characters those of code page
// 1252 (the page Wine's A functions convert with under an English locale).
std::string fileBytes(const std::string& text, bool utf16);

// A C-like literal of `text`, for reports.
std::string quoted(const std::string& text);
std::string describe(const Op& op);

}  // namespace velmora::differential
