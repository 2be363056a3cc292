// Writing files so that no crash, kill or full disk leaves one half written.
//
// Every write first lands in a temporary file beside its target; only a
// complete temporary file is then renamed into place. A reader, the game or a
// later run of Velmora, therefore sees either the old file or the new one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/SerialWorker.h"
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
// place, never over an existing file. That happens on a thread of its own
// while further copies are written; place() deals with the last batch and
// waits for all. A crash before a copy is placed leaves a temporary file
// only, which the next run clears away; a batch dropped unplaced removes its
// own.
class DurableCopies {
public:
    // Files in a batch: enough that the disk is waited for a few times per
    // thousand copies.
    static constexpr size_t kBatchFiles = 256;

    explicit DurableCopies(FileSystem& files) : files_(files) {}
    ~DurableCopies();
    DurableCopies(const DurableCopies&) = delete;
    DurableCopies& operator=(const DurableCopies&) = delete;

    // Stages a copy of `source` for `target`. False, staging nothing, when
    // the copy cannot be written. The caller knows that nothing is at
    // `target`; should something be there when the batch is placed, it stays
    // and the copy is not placed.
    bool add(const std::string& source, const std::string& target);
    // For each copy staged, in order, whether it is now in place: none of a
    // batch is when the disk cannot be waited for. Nothing is staged
    // afterwards.
    std::vector<bool> place();

private:
    struct Batch {
        std::vector<std::string> temporaries;
        std::vector<std::string> targets;  // of each temporary
    };
    // Hands the staged batch to the worker, which makes it durable and
    // places it.
    void handOver();

    FileSystem& files_;
    Batch staged_;
    std::vector<bool> placed_;  // of every batch handed over; the worker's until it is waited for
    SerialWorker worker_;       // last: its jobs use the members above until it is gone
};


}  // namespace velmora
