#include "testkit/FaultyFileSystem.h"

namespace velmora::testkit {

int FaultyFileSystem::calls(FileOp op) const {
    const auto found = calls_.find(op);
    return found == calls_.end() ? 0 : found->second;
}

bool FaultyFileSystem::fails(FileOp op, const std::string& path) {
    const int call = ++calls_[op];
    const auto at = failAt_.find(op);
    if (at != failAt_.end() && at->second == call) return true;
    const auto when = failWhen_.find(op);
    return when != failWhen_.end() && when->second(path);
}

}  // namespace velmora::testkit
