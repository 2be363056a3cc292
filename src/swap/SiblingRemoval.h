// Deletes the compiled siblings (.cdp) of the DPs a swap puts back, on a
// thread of its own, while the swap goes on with the next DP. Deleting a file
// waits for the disk far longer than it keeps the processor busy, and a swap
// deletes thousands.
#pragma once

#include <string>
#include <vector>

#include "core/SerialWorker.h"
#include "platform/Files.h"

namespace velmora {

class SiblingRemoval {
public:
    explicit SiblingRemoval(FileSystem& files) : files_(files) {}

    // Deletes `path` soon, when it exists; a read-only one is made writable
    // first.
    void remove(std::string path);
    // Waits until every path given is dealt with. Returns those that exist
    // still, in the order given; the next call returns only later ones.
    std::vector<std::string> finish();

private:
    // Deletes one sibling; false when it is there still.
    bool removeNow(const std::string& path);

    FileSystem& files_;
    std::vector<std::string> failed_;  // written by the worker's jobs only
    SerialWorker worker_;  // last: its jobs use the members above until it is gone
};

}  // namespace velmora
