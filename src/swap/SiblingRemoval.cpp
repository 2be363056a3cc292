#include "swap/SiblingRemoval.h"

#include <utility>

namespace velmora {

void SiblingRemoval::remove(const std::string& path) {
    if (!removeNow(path)) failed_.push_back(path);
}

std::vector<std::string> SiblingRemoval::finish() { return std::exchange(failed_, {}); }

bool SiblingRemoval::removeNow(const std::string& path) {
    if (files_.removeFile(path) || !files_.exists(path)) return true;
    return files_.isReadOnly(path) && files_.makeWritable(path) && files_.removeFile(path);
}

}  // namespace velmora
