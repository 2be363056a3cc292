// Deletes the compiled siblings (.cdp) of the DPs a swap puts back, and keeps
// the names of those that stay, so that the swap can name them all at its end.
#pragma once

#include <string>
#include <vector>

#include "platform/Files.h"

namespace velmora {

class SiblingRemoval {
public:
    explicit SiblingRemoval(FileSystem& files) : files_(files) {}

    // Deletes `path` when it exists; a read-only one is made writable first.
    void remove(const std::string& path);
    // Those given that exist still, in the order given; the next call
    // returns only later ones.
    std::vector<std::string> finish();

private:
    // Deletes one sibling; false when it is there still.
    bool removeNow(const std::string& path);

    FileSystem& files_;
    std::vector<std::string> failed_;
};

}  // namespace velmora
