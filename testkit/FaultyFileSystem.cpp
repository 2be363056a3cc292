#include "testkit/FaultyFileSystem.h"

namespace velmora::testkit {

void FaultyFileSystem::failNth(FileOp op, int n) { failAt_[op] = n; }

void FaultyFileSystem::failWhen(FileOp op, std::function<bool(const std::string&)> when) {
    failWhen_[op] = std::move(when);
}

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

bool FaultyFileSystem::canOpenForReading(const std::string& path) {
    if (fails(FileOp::CanOpenForReading, path)) return false;
    return real_.canOpenForReading(path);
}

bool FaultyFileSystem::readFile(const std::string& path, std::string& contents) {
    if (fails(FileOp::ReadFile, path)) return false;
    return real_.readFile(path, contents);
}

std::string FaultyFileSystem::writeTemporary(const std::string& target, std::string_view contents, bool durable) {
    if (fails(FileOp::WriteTemporary, target)) return {};
    return real_.writeTemporary(target, contents, durable);
}

std::string FaultyFileSystem::copyToTemporary(const std::string& source, const std::string& target, bool durable) {
    if (fails(FileOp::CopyToTemporary, target)) return {};
    return real_.copyToTemporary(source, target, durable);
}

bool FaultyFileSystem::replaceWithTemporary(const std::string& temporary, const std::string& target) {
    if (fails(FileOp::ReplaceWithTemporary, target)) return false;
    return real_.replaceWithTemporary(temporary, target);
}

bool FaultyFileSystem::moveTemporaryIntoPlace(const std::string& temporary, const std::string& target) {
    if (fails(FileOp::MoveTemporaryIntoPlace, target)) return false;
    return real_.moveTemporaryIntoPlace(temporary, target);
}

bool FaultyFileSystem::flushTemporaries(const std::vector<std::string>& temporaries) {
    if (fails(FileOp::FlushTemporaries, temporaries.empty() ? std::string() : temporaries.front())) return false;
    return real_.flushTemporaries(temporaries);
}

bool FaultyFileSystem::makeWritable(const std::string& path) {
    if (fails(FileOp::MakeWritable, path)) return false;
    return real_.makeWritable(path);
}

bool FaultyFileSystem::removeFile(const std::string& path) {
    if (fails(FileOp::RemoveFile, path)) return false;
    return real_.removeFile(path);
}

}  // namespace velmora::testkit
