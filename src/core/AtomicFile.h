// Writing files so that no crash, kill or full disk leaves one half written.
//
// Every write first lands in a temporary file beside its target; only a
// complete temporary file is then renamed into place. A reader, the game or a
// later run of Velmora, therefore sees either the old file or the new one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace velmora {

// Whether the bytes must reach the disk before the file is moved into place.
// Game files that the backup can always put back are written without the
// wait; the program's own settings and every backup copy wait for it.
enum class Durability { Flushed, Buffered };

// Replaces (or creates) `path` with `contents`. Fails, leaving `path` as it
// was, when the temporary file cannot be written or `path` is read-only.
bool replaceFileContents(FileSystem& files, const std::string& path, std::string_view contents,
                         Durability durability = Durability::Flushed);

// Copies `source` over `target`, replacing it in one step. Fails, leaving
// `target` as it was, when `source` cannot be read or `target` is read-only.
bool copyReplacing(FileSystem& files, const std::string& source, const std::string& target,
                   Durability durability = Durability::Buffered);

// Copies into a write-once tree: an existing file is never touched, and no
// copy ever stands under its target's name before all its bytes are on the
// disk. The disk is waited for once for many files, not once for each: add()
// writes each copy to a temporary file beside its target at once; every
// batch of them is then made durable in one step and only then moved into
// place, never over an existing file. A crash before a copy is placed leaves
// a temporary file only, which the next run clears away; copies dropped
// unplaced remove their own.
class DurableCopies {
public:
    // Files in a batch: enough that even the first backup of a game with
    // thousands of DPs waits for the disk once. Nothing else goes on while
    // it waits, and each wait also writes back whatever other programs left
    // unwritten on that disk.
    static constexpr size_t kBatchFiles = 4096;

    enum class Outcome { Placed, AlreadyThere, Failed };

    explicit DurableCopies(FileSystem& files, size_t batchFiles = kBatchFiles)
        : files_(files), batchFiles_(batchFiles) {}
    ~DurableCopies();
    DurableCopies(const DurableCopies&) = delete;
    DurableCopies& operator=(const DurableCopies&) = delete;

    // Stages `contents` as the copy for `target`. False, staging nothing,
    // when the copy cannot be written. The caller knows that nothing is at
    // `target`; should something be there when the batch is placed, it stays
    // and the copy is not placed.
    bool add(const std::string& target, std::string_view contents);
    // For each copy staged, in order, what became of it: none of a batch is
    // placed when the disk cannot be waited for. Nothing is staged
    // afterwards.
    std::vector<Outcome> place();

private:
    // Makes the staged batch durable and moves it into place.
    void placeBatch();

    FileSystem& files_;
    size_t batchFiles_;
    std::vector<std::string> temporaries_;
    std::vector<std::string> targets_;  // of each temporary
    std::vector<Outcome> outcomes_;     // of every batch placed
};

}  // namespace velmora
