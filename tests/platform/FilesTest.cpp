// The platform's file services, on real folders: the same cases run on POSIX
// and, built with mingw, on Win32 under Wine.
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/AtomicFile.h"
#include "core/FileSearch.h"
#include "core/TemporaryNames.h"
#include "platform/PathStyle.h"
#include "platform/Processes.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TempDir.h"

namespace velmora {
namespace {

using testkit::fileExists;
using testkit::readText;
using testkit::writeText;

class FilesTest : public ::testing::Test {
protected:
    testkit::TempDir dir;
    FileSystem& files = platformFileSystem();

    std::vector<std::string> entryNames() {
        std::vector<DirEntry> entries;
        files.listFolder(dir.path(), entries);
        std::vector<std::string> names;
        for (const DirEntry& entry : entries) names.push_back(entry.name);
        return names;
    }
};

TEST_F(FilesTest, WildcardSearchIgnoresCaseAndSkipsDotEntries) {
    writeText(dir / "a.dp", "1");
    writeText(dir / "B.DP", "2");
    writeText(dir / "c.dpx", "3");
    writeText(dir / "d.cdp", "4");
    writeText(dir / "Zero.mis", "5");
    files.makeDirectory(dir / "Carrier");
    files.makeDirectory(dir / "folder.mis");
    writeText(dir / "noext", "6");

    auto dps = findNames(files, dir.path(), "*.dp");
    std::sort(dps.begin(), dps.end());
    EXPECT_EQ(dps, (std::vector<std::string>{"B.DP", "a.dp"}));

    auto missions = findNames(files, dir.path(), "*.mis");
    std::sort(missions.begin(), missions.end());
    EXPECT_EQ(missions, (std::vector<std::string>{"Zero.mis", "folder.mis"}));

    // "*." lists the names without a dot, whatever Wine's own search lists.
    auto bare = findNames(files, dir.path(), "*.");
    std::sort(bare.begin(), bare.end());
    EXPECT_EQ(bare, (std::vector<std::string>{"Carrier", "noext"}));

    EXPECT_TRUE(findNames(files, dir / "missing", "*.dp").empty());
    std::vector<DirEntry> entries;
    EXPECT_FALSE(files.listFolder(dir / "missing", entries));
}

TEST_F(FilesTest, ListingTellsFoldersFromFiles) {
    files.makeDirectory(dir / "sub");
    writeText(dir / "file", "x");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(files.listFolder(dir.path(), entries));
    ASSERT_EQ(entries.size(), 2u);
    for (const DirEntry& entry : entries) EXPECT_EQ(entry.isDirectory, entry.name == "sub") << entry.name;
}

TEST_F(FilesTest, MakeDirectoryTellsAnExistingFolderApart) {
    EXPECT_EQ(files.makeDirectory(dir / "new"), MakeDirResult::Created);
    EXPECT_EQ(files.makeDirectory(dir / "new"), MakeDirResult::AlreadyExists);
    EXPECT_EQ(files.makeDirectory(dir / "missing/child"), MakeDirResult::Failed);
    EXPECT_TRUE(files.isDirectory(dir / "new"));
}

TEST_F(FilesTest, ExistenceAndReadability) {
    writeText(dir / "f.txt", "abc");
    files.makeDirectory(dir / "d");
    EXPECT_TRUE(files.exists(dir / "f.txt"));
    EXPECT_TRUE(files.exists(dir / "d"));
    EXPECT_FALSE(files.exists(dir / "none"));
    EXPECT_TRUE(files.canOpenForReading(dir / "f.txt"));
    EXPECT_FALSE(files.canOpenForReading(dir / "d"));
    EXPECT_FALSE(files.canOpenForReading(dir / "none"));
    std::string contents;
    EXPECT_TRUE(files.readFile(dir / "f.txt", contents));
    EXPECT_EQ(contents, "abc");
    EXPECT_FALSE(files.readFile(dir / "d", contents));
}

TEST_F(FilesTest, RemoveDeletesFilesOnly) {
    writeText(dir / "f", "x");
    files.makeDirectory(dir / "d");
    EXPECT_TRUE(files.removeFile(dir / "f"));
    EXPECT_FALSE(fileExists(dir / "f"));
    EXPECT_FALSE(files.removeFile(dir / "f"));
    EXPECT_FALSE(files.removeFile(dir / "d"));
    EXPECT_TRUE(files.isDirectory(dir / "d"));
}

TEST_F(FilesTest, CopyReplacingReplacesAndKeepsBytes) {
    std::string binary("a\r\nb\0c\xff", 7);
    writeText(dir / "src", binary);
    writeText(dir / "dst", "old contents that are longer");
    EXPECT_TRUE(copyReplacing(files, dir / "src", dir / "dst"));
    EXPECT_EQ(readText(dir / "dst"), binary);
    EXPECT_TRUE(copyReplacing(files, dir / "src", dir / "fresh"));
    EXPECT_EQ(readText(dir / "fresh"), binary);
    EXPECT_FALSE(copyReplacing(files, dir / "absent", dir / "dst"));
    EXPECT_EQ(readText(dir / "dst"), binary);
    EXPECT_EQ(entryNames().size(), 3u);
}

TEST_F(FilesTest, CopyOverAReadOnlyTargetFailsUntilItIsMadeWritable) {
    writeText(dir / "src", "new");
    writeText(dir / "dst", "old");
    testkit::makeReadOnly(dir / "dst");
    EXPECT_TRUE(files.isReadOnly(dir / "dst"));
    EXPECT_FALSE(copyReplacing(files, dir / "src", dir / "dst"));
    EXPECT_EQ(readText(dir / "dst"), "old");
    EXPECT_TRUE(files.makeWritable(dir / "dst"));
    EXPECT_FALSE(files.isReadOnly(dir / "dst"));
    EXPECT_TRUE(copyReplacing(files, dir / "src", dir / "dst"));
    EXPECT_EQ(readText(dir / "dst"), "new");
}

TEST_F(FilesTest, DurableCopiesAppearOnlyWhenPlacedAndNeverOverAFile) {
    writeText(dir / "a", "first");
    writeText(dir / "b", "second");
    writeText(dir / "kept", "already there");
    std::vector<bool> placed;
    {
        DurableCopies copies(files);
        EXPECT_TRUE(copies.add(dir / "a", dir / "a.dp"));
        EXPECT_TRUE(copies.add(dir / "b", dir / "kept"));
        EXPECT_FALSE(copies.add(dir / "absent", dir / "c.dp"));
        EXPECT_TRUE(copies.add(dir / "b", dir / "b.dp"));
        EXPECT_TRUE(copies.add(dir / "a", dir / "late.dp"));
        // Nothing has its name yet, and the staged files match no search.
        EXPECT_FALSE(fileExists(dir / "a.dp"));
        EXPECT_TRUE(findNames(files, dir.path(), "*.dp").empty());
        writeText(dir / "late.dp", "came first");  // the target appears before the batch is placed
        placed = copies.place();
    }
    EXPECT_EQ(placed, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(readText(dir / "a.dp"), "first");
    EXPECT_EQ(readText(dir / "b.dp"), "second");
    EXPECT_EQ(readText(dir / "late.dp"), "came first");
    EXPECT_EQ(readText(dir / "kept"), "already there");
    EXPECT_EQ(entryNames().size(), 6u);  // no temporary file left
}

TEST_F(FilesTest, DurableCopiesThatCannotBeFlushedAreNeitherPlacedNorLeftBehind) {
    writeText(dir / "a", "first");
    testkit::FaultyFileSystem faulty(files);
    faulty.failNth(testkit::FileOp::FlushTemporaries, 1);
    {
        DurableCopies copies(faulty);
        ASSERT_TRUE(copies.add(dir / "a", dir / "a.dp"));
        EXPECT_EQ(copies.place(), std::vector<bool>{false});
        // A batch dropped unplaced removes what it staged.
        ASSERT_TRUE(copies.add(dir / "a", dir / "b.dp"));
    }
    EXPECT_EQ(entryNames(), std::vector<std::string>{"a"});
}

TEST_F(FilesTest, DurableCopiesArePlacedBatchByBatchAndAFailedFlushCostsOnlyItsBatch) {
    writeText(dir / "a", "bytes");
    testkit::FaultyFileSystem faulty(files);
    faulty.failNth(testkit::FileOp::FlushTemporaries, 2);
    const size_t count = 2 * DurableCopies::kBatchFiles + 3;
    std::vector<bool> placed;
    {
        DurableCopies copies(faulty);
        for (size_t i = 0; i < count; ++i) ASSERT_TRUE(copies.add(dir / "a", dir / (std::to_string(i) + ".dp")));
        placed = copies.place();
    }
    ASSERT_EQ(placed.size(), count);
    for (size_t i = 0; i < count; ++i) {
        const bool inSecondBatch = i >= DurableCopies::kBatchFiles && i < 2 * DurableCopies::kBatchFiles;
        EXPECT_EQ(placed[i], !inSecondBatch) << i;
        EXPECT_EQ(fileExists(dir / (std::to_string(i) + ".dp")), !inSecondBatch) << i;
    }
    EXPECT_EQ(entryNames().size(), count - DurableCopies::kBatchFiles + 1);  // no temporary file left
}

TEST_F(FilesTest, MoveIntoPlaceRefusesAnExistingTargetEvenAfterTheCheck) {
    writeText(dir / "dst", "original");
    const std::string temporary = files.writeTemporary(dir / "dst", "intruder", true);
    ASSERT_FALSE(temporary.empty());
    EXPECT_FALSE(files.moveTemporaryIntoPlace(temporary, dir / "dst"));
    EXPECT_EQ(readText(dir / "dst"), "original");
    files.discardTemporary(temporary);
    EXPECT_EQ(entryNames(), std::vector<std::string>{"dst"});
}

TEST_F(FilesTest, AnInterruptedCopyLeavesNoFileUnderTheTargetsName) {
    writeText(dir / "src", "data");
    testkit::FaultyFileSystem faulty(files);
    faulty.failNth(testkit::FileOp::MoveTemporaryIntoPlace, 1);
    DurableCopies copies(faulty);
    ASSERT_TRUE(copies.add(dir / "src", dir / "dst"));
    EXPECT_EQ(copies.place(), std::vector<bool>{false});
    EXPECT_EQ(entryNames(), std::vector<std::string>{"src"});
}

TEST_F(FilesTest, TemporaryFilesMatchNoSearchOfTheProgram) {
    const std::string temporary = files.writeTemporary(dir / "Tower.dp", "x", false);
    ASSERT_FALSE(temporary.empty());
    EXPECT_TRUE(findNames(files, dir.path(), "*.dp").empty());
    EXPECT_TRUE(findNames(files, dir.path(), "*.mis").empty());
    EXPECT_TRUE(findNames(files, dir.path(), "*.").empty());
    files.discardTemporary(temporary);
}

// A temporary's name is longer than its target's: a target whose path fits
// the 260-byte limit still gets written, and a leftover beside it cleared.
TEST_F(FilesTest, TargetsThatFitAreWrittenWhateverTheirTemporarysLength) {
    for (size_t length : {230u, 245u, 259u}) {
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
        EXPECT_TRUE(replaceFileContentsIfChanged(files, target, "guns", Durability::Flushed));
        std::string text;
        EXPECT_TRUE(files.readFile(target, text));
        EXPECT_EQ(text, "guns");
        const std::string leftover = files.writeTemporary(target, "half", false);
        ASSERT_FALSE(leftover.empty());
        removeLeftoverTemporaries(files, folder, platformPathSeparator());
        EXPECT_FALSE(files.exists(leftover));
    }
}

#ifndef _WIN32
// A leftover is cleared unless its writer may still be running: another
// Velmora, in another session, may be writing it right now.
TEST_F(FilesTest, TemporariesOfRunningWritersAreKept) {
    const pid_t finished = ::fork();
    if (finished == 0) ::_exit(0);
    ::waitpid(finished, nullptr, 0);
    const struct {
        unsigned long writer;
        bool kept;
    } rows[] = {{currentProcessId(), false}, {static_cast<unsigned long>(::getppid()), true},
                {static_cast<unsigned long>(finished), false}};
    for (const auto& row : rows) {
        const std::string name = temporaryNameFor(dir / "Tower.dp", row.writer);
        writeText(name, "half");
        EXPECT_EQ(removeLeftoverTemporaries(files, dir.path(), platformPathSeparator()).size(), 0u);
        EXPECT_EQ(fileExists(name), row.kept) << row.writer;
        std::remove(name.c_str());
    }
}
#endif

TEST_F(FilesTest, CurrentDirectoryCanBeSetAndRestored) {
    const std::string before = files.currentDirectory();
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(files.setCurrentDirectory(dir.path()));
    EXPECT_TRUE(files.exists(files.currentDirectory()));
    EXPECT_TRUE(files.setCurrentDirectory(before));
    EXPECT_EQ(files.currentDirectory(), before);
    EXPECT_FALSE(files.setCurrentDirectory(dir / "missing"));
}

TEST(Wildcards, MatchAsTheGamesNeedThem) {
    EXPECT_TRUE(matchesWildcard("Tower.DP", "*.dp"));
    EXPECT_TRUE(matchesWildcard(".dp", "*.dp"));
    EXPECT_FALSE(matchesWildcard("Tower.dpx", "*.dp"));
    EXPECT_FALSE(matchesWildcard("Tower.cdp", "*.dp"));
    EXPECT_TRUE(matchesWildcard("Raid.MIS", "*.mis"));
    EXPECT_TRUE(matchesWildcard("Carrier", "*."));
    EXPECT_FALSE(matchesWildcard("Carrier.old", "*."));
    EXPECT_TRUE(matchesWildcard("a1", "a?"));
}

}  // namespace
}  // namespace velmora
