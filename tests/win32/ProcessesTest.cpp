// Starting programs on Windows: a waited-for run, a start that returns at
// once, and the system's text for a failure.
#include "platform/Processes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "testkit/TempDir.h"

namespace velmora {
namespace {

// A copy of the stand-in built beside this test program.
std::string copyStandIn(const std::string& to) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    std::filesystem::copy_file(std::filesystem::path(self).parent_path() / "velmora_standin.exe", to,
                               std::filesystem::copy_options::overwrite_existing);
    return to;
}

TEST(Win32Processes, ARunIsWaitedForInTheCurrentFolder) {
    testkit::TempDir dir;
    const std::string program = copyStandIn(dir / "Tarnwick/Select.exe");
    testkit::writeText(dir / "Tarnwick/standin-create.txt", "..\\origcfs2.exe");
    char saved[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(::SetCurrentDirectoryA((dir / "Tarnwick").c_str()));
    platformProcesses().runAndWait(program);
    ::SetCurrentDirectoryA(saved);
    EXPECT_TRUE(testkit::fileExists(dir / "origcfs2.exe")) << "made before the call returned";
    const std::string ran = testkit::readText(dir / "Tarnwick/standin-ran.txt");
    EXPECT_NE(ran.find("Select.exe"), std::string::npos) << ran;
}

// The started program keeps running, and the list of running programs has its full path.
TEST(Win32Processes, AStartRunsInTheGivenFolderWithoutWaitingAndIsListedRunning) {
    testkit::TempDir dir;
    const std::string program = copyStandIn(dir / "cfs2.exe");
    testkit::writeText(dir / "standin-wait.txt", "");
    const StartResult result = platformProcesses().start(program, dir.path());
    ASSERT_TRUE(result.started);
    const std::string marker = dir / "standin-ran.txt";
    for (int i = 0; i < 200 && testkit::readText(marker).empty(); ++i) ::Sleep(25);
    EXPECT_NE(testkit::readText(marker).find(dir.path()), std::string::npos);
    const std::vector<std::string> running = platformProcesses().runningPrograms();
    EXPECT_EQ(std::count_if(running.begin(), running.end(),
                            [&](const std::string& image) { return ::lstrcmpiA(image.c_str(), program.c_str()) == 0; }),
              1);
    ::DeleteFileA((dir / "standin-wait.txt").c_str());
    ::Sleep(200);  // let it finish before the folder goes
}

TEST(Win32Processes, AMissingProgramGivesTheSystemsText) {
    testkit::TempDir dir;
    const StartResult result = platformProcesses().start(dir / "cfs2.exe", dir.path());
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.errorCode, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(result.errorText.empty());
}

}  // namespace
}  // namespace velmora
