// The platform's file services, on real folders: the same cases run on POSIX
// and, built with mingw, on Win32 under Wine.
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "base/TemporaryNames.h"
#include "core/AtomicFile.h"
#include "core/FileSearch.h"
#include "core/LeftoverTemporaries.h"
#include "platform/PathStyle.h"
#include "platform/Processes.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TempDir.h"

namespace velmora {
namespace {

using testkit::fileExists;
using testkit::readText;
using testkit::writeText;
using Names = std::vector<std::string>;

class FilesTest : public ::testing::Test {
protected:
    testkit::TempDir dir;
    FileSystem& files = platformFileSystem();

    Names entryNames() {
        std::vector<DirEntry> entries;
        files.listFolder(dir.path(), entries);
        Names names;
        for (const DirEntry& entry : entries) names.push_back(entry.name + (entry.isDirectory ? "/" : ""));
        std::sort(names.begin(), names.end());
        return names;
    }
    Names search(const std::string& folder, const char* pattern) {
        Names names = findNames(files, folder, pattern);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FilesTest, ListingAndWildcardSearchIgnoreCaseAndTellFoldersFromFiles) {
    for (const char* name : {"a.dp", "B.DP", "c.dpx", "d.cdp", ".dp", "Zero.mis", "noext", "a1"}) writeText(dir / name, "x");
    files.makeDirectory(dir / "Carrier");
    files.makeDirectory(dir / "folder.mis");
#ifndef _WIN32
    // A link to a folder is listed as the folder it leads to.
    ASSERT_EQ(::symlink((dir / "Carrier").c_str(), (dir / "linked").c_str()), 0);
#endif
    const struct {
        const char* pattern;
        Names found;
    } rows[] = {
        {"*.dp", {".dp", "B.DP", "a.dp"}},
        {"*.mis", {"Zero.mis", "folder.mis"}},
        // "*." lists the names without a dot, whatever Wine's own search lists.
        {"*.", {"Carrier", "a1", "noext"}},
        {"a?", {"a1"}},
    };
    for (const auto& row : rows) {
        Names found = search(dir.path(), row.pattern);
        std::erase(found, "linked");
        EXPECT_EQ(found, row.found) << row.pattern;
    }
    Names listed = {".dp", "B.DP", "Carrier/", "Zero.mis", "a.dp", "a1", "c.dpx", "d.cdp", "folder.mis/", "noext"};
#ifndef _WIN32
    listed.insert(listed.end() - 1, "linked/");
#endif
    EXPECT_EQ(entryNames(), listed);
    EXPECT_TRUE(search(dir / "missing", "*.dp").empty());
    std::vector<DirEntry> entries;
    EXPECT_FALSE(files.listFolder(dir / "missing", entries));
}

// Each query on a file, a folder and a name that is not there; on Windows, a
// file another program holds open, sharing it with no one.
TEST_F(FilesTest, QueriesTellFilesFoldersAndAbsentNamesApart) {
    writeText(dir / "f", "abc");
    files.makeDirectory(dir / "d");
#ifdef _WIN32
    writeText(dir / "held", "abc");
    const HANDLE held = ::CreateFileA((dir / "held").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
#endif
    const struct {
        const char* name;
        bool exists, isDirectory, readable, read, removed;
    } rows[] = {
        {"f", true, false, true, true, true},
        {"d", true, true, false, false, false},
        {"none", false, false, false, false, false},
#ifdef _WIN32
        {"held", true, false, false, false, false},
#endif
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir / row.name;
        EXPECT_EQ(files.exists(path), row.exists);
        EXPECT_EQ(files.isDirectory(path), row.isDirectory);
        EXPECT_EQ(files.canOpenForReading(path), row.readable);
        std::string contents = "stale";
        EXPECT_EQ(files.readFile(path, contents), row.read);
        EXPECT_EQ(contents, row.read ? "abc" : "");
        EXPECT_EQ(files.removeFile(path), row.removed);
        EXPECT_EQ(files.exists(path), row.exists && !row.removed);
    }
#ifdef _WIN32
    EXPECT_EQ(files.copyToTemporary(dir / "held", dir / "copy", true), "");
    ::CloseHandle(held);
#endif
    EXPECT_EQ(files.makeDirectory(dir / "new"), MakeDirResult::Created);
    EXPECT_EQ(files.makeDirectory(dir / "new"), MakeDirResult::AlreadyExists);
    EXPECT_EQ(files.makeDirectory(dir / "missing/child"), MakeDirResult::Failed);
    EXPECT_FALSE(files.flushTemporaries({dir / "missing/Tower.dp.tmp"})) << "a folder that is gone cannot be flushed";
    const std::string before = files.currentDirectory();
    EXPECT_TRUE(files.setCurrentDirectory(dir / "new"));
    EXPECT_TRUE(files.isDirectory(files.currentDirectory()));
    EXPECT_FALSE(files.setCurrentDirectory(dir / "missing"));
    EXPECT_TRUE(files.setCurrentDirectory(before));
    EXPECT_EQ(files.currentDirectory(), before);
}

TEST_F(FilesTest, CopyReplacingKeepsBytesAndRespectsReadOnlyTargets) {
    const std::string binary("a\r\nb\0c\xff", 7);
    writeText(dir / "src", binary);
    writeText(dir / "dst", "old contents that are longer");
    writeText(dir / "locked", "old");
    testkit::makeReadOnly(dir / "locked");
#ifndef _WIN32
    errno = EINTR;  // left by an earlier interrupted call: the copy must still read every byte
#endif
    const struct {
        const char* source;
        const char* target;
        bool copied;
        std::string after;
    } rows[] = {
        {"src", "dst", true, binary},
        {"src", "fresh", true, binary},
        {"absent", "dst", false, binary},
        {"absent", "none", false, ""},
        {"src", "locked", false, "old"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(copyReplacing(files, dir / row.source, dir / row.target), row.copied) << row.target;
        EXPECT_EQ(readText(dir / row.target), row.after) << row.target;
    }
    EXPECT_TRUE(files.isReadOnly(dir / "locked"));
    EXPECT_TRUE(files.makeWritable(dir / "locked"));
    EXPECT_FALSE(files.isReadOnly(dir / "locked"));
    EXPECT_TRUE(copyReplacing(files, dir / "src", dir / "locked"));
    EXPECT_EQ(readText(dir / "locked"), binary);
    EXPECT_EQ(entryNames(), (Names{"dst", "fresh", "locked", "src"})) << "no temporary file left";
}

TEST_F(FilesTest, DurableCopiesAppearOnlyWhenPlacedAndNeverOverAFile) {
    using Outcome = DurableCopies::Outcome;
    writeText(dir / "kept", "already there");
    std::vector<Outcome> placed;
    {
        DurableCopies copies(files);
        EXPECT_TRUE(copies.add(dir / "a.dp", "first"));
        EXPECT_TRUE(copies.add(dir / "kept", "second"));
        EXPECT_FALSE(copies.add(dir / "missing/c.dp", "no folder"));
        EXPECT_TRUE(copies.add(dir / "b.dp", "second"));
        EXPECT_TRUE(copies.add(dir / "late.dp", "first"));
        // Nothing has its name yet, and the staged files match no search of the program.
        EXPECT_FALSE(fileExists(dir / "a.dp"));
        EXPECT_TRUE(search(dir.path(), "*.dp").empty());
        EXPECT_TRUE(search(dir.path(), "*.mis").empty());
        EXPECT_EQ(search(dir.path(), "*."), (Names{"kept"}));
        writeText(dir / "late.dp", "came first");  // the target appears before the batch is placed
        placed = copies.place();
    }
    EXPECT_EQ(placed, (std::vector<Outcome>{Outcome::Placed, Outcome::AlreadyThere, Outcome::Placed,
                                            Outcome::AlreadyThere}));
    EXPECT_EQ(readText(dir / "a.dp"), "first");
    EXPECT_EQ(readText(dir / "b.dp"), "second");
    EXPECT_EQ(readText(dir / "late.dp"), "came first");
    EXPECT_EQ(readText(dir / "kept"), "already there");
    EXPECT_EQ(entryNames(), (Names{"a.dp", "b.dp", "kept", "late.dp"})) << "no temporary file left";
}

// A step that fails costs only what it touched, and leaves no temporary file.
TEST_F(FilesTest, DurableCopiesLoseOnlyTheBatchWhoseStepFailed) {
    const size_t n = 4;  // files in a batch
    const struct {
        testkit::FileOp op;
        int nth;
        size_t count, lostFrom, lostTo;
    } rows[] = {
        {testkit::FileOp::FlushTemporaries, 1, 1, 0, 1},
        {testkit::FileOp::MoveTemporaryIntoPlace, 1, 1, 0, 1},
        {testkit::FileOp::FlushTemporaries, 2, 2 * n + 3, n, 2 * n},
    };
    for (const auto& row : rows) {
        testkit::TempDir here;
        testkit::FaultyFileSystem faulty(files);
        faulty.failNth(row.op, row.nth);
        std::vector<DurableCopies::Outcome> placed;
        {
            DurableCopies copies(faulty, n);
            for (size_t i = 0; i < row.count; ++i) ASSERT_TRUE(copies.add(here / (std::to_string(i) + ".dp"), "bytes"));
            placed = copies.place();
            ASSERT_TRUE(copies.add(here / "dropped.dp", "bytes")) << "a batch dropped unplaced removes what it staged";
        }
        ASSERT_EQ(placed.size(), row.count);
        for (size_t i = 0; i < row.count; ++i) {
            const bool lost = i >= row.lostFrom && i < row.lostTo;
            EXPECT_EQ(placed[i], lost ? DurableCopies::Outcome::Failed : DurableCopies::Outcome::Placed) << i;
            EXPECT_EQ(fileExists(here / (std::to_string(i) + ".dp")), !lost) << i;
        }
        std::vector<DirEntry> entries;
        files.listFolder(here.path(), entries);
        EXPECT_EQ(entries.size(), row.count - (row.lostTo - row.lostFrom));
    }
}

TEST_F(FilesTest, MoveIntoPlaceRefusesAnExistingTargetEvenAfterTheCheck) {
    writeText(dir / "dst", "original");
    const std::string temporary = files.writeTemporary(dir / "dst", "intruder", true);
    ASSERT_FALSE(temporary.empty());
    EXPECT_FALSE(files.moveTemporaryIntoPlace(temporary, dir / "dst"));
    EXPECT_EQ(readText(dir / "dst"), "original");
    files.discardTemporary(temporary);
    EXPECT_EQ(entryNames(), Names{"dst"});
    EXPECT_EQ(files.writeTemporary(dir / "missing/dst", "x", true), "") << "no folder to write into";
}

// Every operation takes the same paths, up to and past the 260-byte limit of
// the short Win32 form: a file written is then found, read, listed and
// removed, and a temporary's longer name never fails its target.
TEST_F(FilesTest, EveryOperationTakesTheSamePathsWhateverTheirLength) {
    if (platformPathSeparator() == '/') GTEST_SKIP() << "POSIX paths have no such limit";
    for (size_t length : {230u, 245u, 259u, 264u, 300u}) {
        SCOPED_TRACE(length);
        std::string folder = dir.path();
        const std::string sep(1, platformPathSeparator());
        while (folder.size() + 1 + 60 + 1 + 8 < length) {
            folder += sep + std::string(60, 'd');
            files.makeDirectory(folder);
        }
        folder += sep + std::string(length - folder.size() - 1 - 1 - 8, 'e');
        ASSERT_NE(files.makeDirectory(folder), MakeDirResult::Failed);
        const std::string target = folder + sep + "Tower.dp";
        ASSERT_EQ(target.size(), length);
        EXPECT_TRUE(replaceFileContents(files, target, "guns", Durability::Flushed));
        EXPECT_TRUE(files.exists(target));
        EXPECT_TRUE(files.canOpenForReading(target));
        EXPECT_FALSE(files.isReadOnly(target));
        EXPECT_TRUE(files.makeWritable(target));
        std::string text;
        EXPECT_TRUE(files.readFile(target, text));
        EXPECT_EQ(text, "guns");
        EXPECT_TRUE(copyReplacing(files, target, folder + sep + "Copy.dp"));
        EXPECT_EQ(search(folder, "*.dp"), (Names{"Copy.dp", "Tower.dp"}));
        const std::string leftover = files.writeTemporary(target, "half", false);
        ASSERT_FALSE(leftover.empty());
        removeLeftoverTemporaries(files, folder, platformPathSeparator());
        EXPECT_FALSE(files.exists(leftover));
        EXPECT_TRUE(files.removeFile(target));
        EXPECT_FALSE(files.exists(target));
    }
}

#ifndef _WIN32
// A leftover is cleared unless its writer may still be running: another
// Velmora, in another session, may be writing it right now.
TEST_F(FilesTest, TemporariesOfRunningWritersAreKept) {
    const struct {
        unsigned long writer;
        bool kept;
    } rows[] = {{currentProcessId(), false}, {static_cast<unsigned long>(::getppid()), true},
                {testkit::finishedProcessId(), false}};
    for (const auto& row : rows) {
        const std::string name = temporaryNameFor(dir / "Tower.dp", row.writer);
        writeText(name, "half");
        EXPECT_EQ(removeLeftoverTemporaries(files, dir.path(), platformPathSeparator()).size(), 0u);
        EXPECT_EQ(fileExists(name), row.kept) << row.writer;
        std::remove(name.c_str());
    }
}
#endif

}  // namespace
}  // namespace velmora
