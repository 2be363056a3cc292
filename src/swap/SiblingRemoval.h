// Deletes the compiled siblings (.cdp) of the DPs a swap puts back, on a
// thread of its own, while the swap goes on with the next DP. Deleting a file
// waits for the disk far longer than it keeps the processor busy, and a swap
// deletes thousands; the wait overlaps the reading and writing of the DPs.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Files.h"

namespace velmora {

class SiblingRemoval {
public:
    explicit SiblingRemoval(FileSystem& files) : files_(files) {}
    ~SiblingRemoval() { finish(); }
    SiblingRemoval(const SiblingRemoval&) = delete;
    SiblingRemoval& operator=(const SiblingRemoval&) = delete;

    // Deletes `path` soon, when it exists; a read-only one is made writable
    // first. Where no thread can be started, it is deleted at once.
    void remove(std::string path);
    // Waits until every path given is dealt with. Returns those that exist
    // still, in the order given; the next call returns only later ones.
    std::vector<std::string> finish();

private:
    // Deletes one sibling; false when it is there still.
    bool removeNow(const std::string& path);
    void work();

    FileSystem& files_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    std::vector<std::string> failed_;
    bool closing_ = false;
    std::thread worker_;
};

}  // namespace velmora
