// Starting programs on Windows: a waited-for run, a start that returns at
// once, and the system's text for a failure.
#include "platform/Processes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "testkit/TempDir.h"

namespace velmora {
namespace {

// How many running programs have this full path.
auto running(const std::string& program) {
    const std::vector<std::string> images = platformProcesses().runningPrograms();
    return std::count_if(images.begin(), images.end(),
                         [&](const std::string& image) { return ::lstrcmpiA(image.c_str(), program.c_str()) == 0; });
}

TEST(Win32Processes, ARunIsWaitedForInTheCurrentFolder) {
    testkit::TempDir dir;
    const std::string program = testkit::copyBesideMe("velmora_standin.exe", dir / "Tarnwick/Select.exe");
    char saved[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(::SetCurrentDirectoryA((dir / "Tarnwick").c_str()));
    platformProcesses().runAndWait(program);
    ::SetCurrentDirectoryA(saved);
    // Written before the call returned, in the folder it was run in.
    const std::string ran = testkit::readText(dir / "Tarnwick/standin-ran.txt");
    EXPECT_NE(ran.find("Select.exe"), std::string::npos) << ran;
}

// The stand-in runs while its folder holds standin-wait.txt: the start has
// returned while it still runs, listed by its full path, and it ends once
// the file goes.
TEST(Win32Processes, AStartReturnsWhileTheProgramRunsInTheGivenFolder) {
    testkit::TempDir dir;
    const std::string program = testkit::copyBesideMe("velmora_standin.exe", dir / "cfs2.exe");
    testkit::writeText(dir / "standin-wait.txt", "");
    ASSERT_TRUE(platformProcesses().start(program, dir.path()).started);
    const std::string marker = dir / "standin-ran.txt";
    for (int i = 0; i < 1500 && testkit::readText(marker).empty(); ++i) ::Sleep(20);
    EXPECT_NE(testkit::readText(marker).find(dir.path()), std::string::npos);
    EXPECT_EQ(running(program), 1) << "still running once the start has returned";
    ::DeleteFileA((dir / "standin-wait.txt").c_str());
    for (int i = 0; i < 1500 && running(program); ++i) ::Sleep(20);
    EXPECT_EQ(running(program), 0);
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
