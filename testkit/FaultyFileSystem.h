// A file system that passes every call to the real one, except the calls a
// test has chosen to fail: the way tests reach the failure rows that real
// disks rarely produce on cue.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/Files.h"

namespace velmora::testkit {

enum class FileOp {
    CanOpenForReading, ReadFile, WriteTemporary, CopyToTemporary, ReplaceWithTemporary, MoveTemporaryIntoPlace,
    FlushTemporaries, MakeWritable, MakeDirectory, RemoveFile,
};

class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

    // The `n`-th call (counting from 1) of `op` fails.
    void failNth(FileOp op, int n) { failAt_[op] = n; }
    // Every call of `op` whose path (the target, for the temporary-file
    // operations; the first temporary, for a flush) satisfies `when` fails.
    void failWhen(FileOp op, std::function<bool(const std::string&)> when) { failWhen_[op] = std::move(when); }
    int calls(FileOp op) const;
    // Called before each call that changes the disk, with its target and the
    // bytes a write or a copy puts there.
    std::function<void(FileOp, const std::string& target, std::string_view bytes)> beforeChange;
    bool durable = true;  // false: nothing waits for the disk, whatever the caller asks

    bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) override {
        return real_.listFolder(folder, entries);
    }
    bool exists(const std::string& path) override { return real_.exists(path); }
    bool isDirectory(const std::string& path) override { return real_.isDirectory(path); }
    bool canOpenForReading(const std::string& path) override {
        return !fails(FileOp::CanOpenForReading, path) && real_.canOpenForReading(path);
    }
    bool readFile(const std::string& path, std::string& contents) override {
        return !fails(FileOp::ReadFile, path) && real_.readFile(path, contents);
    }
    std::string writeTemporary(const std::string& target, std::string_view contents, bool wait) override {
        return changes(FileOp::WriteTemporary, target, contents)
                   ? real_.writeTemporary(target, contents, wait && durable)
                   : std::string();
    }
    std::string copyToTemporary(const std::string& source, const std::string& target, bool wait) override {
        std::string bytes;
        if (beforeChange) real_.readFile(source, bytes);
        return changes(FileOp::CopyToTemporary, target, bytes) ? real_.copyToTemporary(source, target, wait && durable)
                                                                : std::string();
    }
    bool replaceWithTemporary(const std::string& temporary, const std::string& target) override {
        return changes(FileOp::ReplaceWithTemporary, target) && real_.replaceWithTemporary(temporary, target);
    }
    bool moveTemporaryIntoPlace(const std::string& temporary, const std::string& target) override {
        return changes(FileOp::MoveTemporaryIntoPlace, target) && real_.moveTemporaryIntoPlace(temporary, target);
    }
    bool flushTemporaries(const std::vector<std::string>& temporaries) override {
        return changes(FileOp::FlushTemporaries, temporaries.empty() ? std::string() : temporaries.front()) &&
               (!durable || real_.flushTemporaries(temporaries));
    }
    void discardTemporary(const std::string& temporary) override { real_.discardTemporary(temporary); }
    bool isReadOnly(const std::string& path) override { return real_.isReadOnly(path); }
    bool makeWritable(const std::string& path) override {
        return !fails(FileOp::MakeWritable, path) && real_.makeWritable(path);
    }
    MakeDirResult makeDirectory(const std::string& path) override {
        return changes(FileOp::MakeDirectory, path) ? real_.makeDirectory(path) : MakeDirResult::Failed;
    }
    bool removeFile(const std::string& path) override {
        return changes(FileOp::RemoveFile, path) && real_.removeFile(path);
    }
    std::string currentDirectory() override { return real_.currentDirectory(); }
    bool setCurrentDirectory(const std::string& path) override { return real_.setCurrentDirectory(path); }

private:
    // Counts the call and tells whether it is to fail.
    bool fails(FileOp op, const std::string& path);
    // Tells beforeChange, then whether the call is to go ahead.
    bool changes(FileOp op, const std::string& target, std::string_view bytes = {}) {
        if (beforeChange) beforeChange(op, target, bytes);
        return !fails(op, target);
    }

    FileSystem& real_;
    std::map<FileOp, int> calls_;
    std::map<FileOp, int> failAt_;
    std::map<FileOp, std::function<bool(const std::string&)>> failWhen_;
};

}  // namespace velmora::testkit
