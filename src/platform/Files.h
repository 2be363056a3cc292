// The file services every part of Velmora reaches the disk through.
//
// Contract: paths are narrow text in the system code page, joined with the
// platform's separator. No call throws; each reports failure by value. The
// primitives are small on purpose: the atomic patterns built from them
// (write a temporary file beside the target, then move it into place) live
// once, in core/AtomicFile, so that tests can fail any single step.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct DirEntry {
    std::string name;  // the name alone, without its folder
    bool isDirectory = false;
};

enum class MakeDirResult { Created, AlreadyExists, Failed };

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Every entry of `folder` ("." and ".." left out), in the order the
    // platform lists them. False when the folder cannot be listed.
    virtual bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) = 0;

    // Whether anything (file or folder) exists at `path`.
    virtual bool exists(const std::string& path) = 0;
    virtual bool isDirectory(const std::string& path) = 0;
    // Whether `path` is a file that can be opened for reading.
    virtual bool canOpenForReading(const std::string& path) = 0;
    // The whole file. False when it cannot be opened or read.
    virtual bool readFile(const std::string& path, std::string& contents) = 0;

    // Creates a new temporary file in the folder of `target`, holding
    // `contents`. Returns its path, or "" when it could not be written
    // completely (nothing is left behind then). With `durable` the bytes
    // reach the disk before the call returns, so that not even a power loss
    // can leave the file empty once it has been moved into place.
    virtual std::string writeTemporary(const std::string& target, std::string_view contents, bool durable) = 0;
    // As writeTemporary, with the bytes of the file `source`.
    virtual std::string copyToTemporary(const std::string& source, const std::string& target, bool durable) = 0;
    // Renames `temporary` over `target`, replacing it in one step. Fails,
    // changing nothing, when `target` is read-only. A replaced target keeps
    // its permissions.
    virtual bool replaceWithTemporary(const std::string& temporary, const std::string& target) = 0;
    // Moves `temporary` to `target` only when nothing exists there yet; never
    // replaces. Fails, changing nothing, when `target` exists.
    virtual bool moveTemporaryIntoPlace(const std::string& temporary, const std::string& target) = 0;
    // Makes the bytes of temporary files written without `durable` reach the
    // disk, in one step where the platform allows it. False when that cannot
    // be promised for every one of them.
    virtual bool flushTemporaries(const std::vector<std::string>& temporaries) = 0;
    // Removes a temporary file that will not be used.
    virtual void discardTemporary(const std::string& temporary) = 0;

    virtual bool isReadOnly(const std::string& path) = 0;
    virtual bool makeWritable(const std::string& path) = 0;
    // AlreadyExists only when a folder is there; a file of that name is a failure.
    virtual MakeDirResult makeDirectory(const std::string& path) = 0;
    // Removes a file; never a folder (false for one).
    virtual bool removeFile(const std::string& path) = 0;

    virtual std::string currentDirectory() = 0;
    virtual bool setCurrentDirectory(const std::string& path) = 0;
};

// The platform's own file system.
FileSystem& platformFileSystem();

}  // namespace velmora
