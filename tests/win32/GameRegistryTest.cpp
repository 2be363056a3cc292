// The registry lookup on Windows, against keys written the way the games'
// 32-bit installers write them. Runs in the test Wine prefix only: it writes
// HKEY_LOCAL_MACHINE through reg.exe.
#include "platform/GameRegistry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/GameInstall.h"

namespace velmora {
namespace {

// Runs reg.exe with `arguments` and returns its exit code.
DWORD runReg(const std::string& arguments) {
    std::string commandLine = "reg.exe " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return static_cast<DWORD>(-1);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

std::string hklm(const char* key) { return std::string("\"HKLM\\") + key + "\""; }

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { clearKeys(); }
    void TearDown() override { clearKeys(); }
    static void clearKeys() {
        for (const char* view : {"/reg:32", "/reg:64"})
            for (GameVersion game : {kCfs1, kCfs2})
                runReg("delete " + hklm(GameTable[game].registryKey) + " /f " + view);
    }
    GameRegistry& registry = platformGameRegistry();
};

TEST_F(Win32RegistryTest, FindsTheGamesIn32BitViewOnly) {
    ASSERT_EQ(runReg("add " + hklm(GameTable[kCfs2].registryKey) +
                     " /v CurrentDirectory /d \"C:\\Games\\CFS2\" /f /reg:32"),
              0u);
    // A key in the 64-bit view is not where the games' installers write.
    ASSERT_EQ(runReg("add " + hklm(GameTable[kCfs1].registryKey) +
                     " /v CurrentDirectory /d \"C:\\Games\\CFS1\" /f /reg:64"),
              0u);
    EXPECT_EQ(detectInstalledGames(registry), 2u);
    EXPECT_EQ(readGameDir(registry, kCfs2), "C:\\Games\\CFS2");
    EXPECT_EQ(readGameDir(registry, kCfs1), "");
}

TEST_F(Win32RegistryTest, AKeyWithoutCurrentDirectoryIsNoInstallation) {
    ASSERT_EQ(runReg("add " + hklm(GameTable[kCfs1].registryKey) + " /v Other /d x /f /reg:32"), 0u);
    ASSERT_EQ(runReg("add " + hklm(GameTable[kCfs2].registryKey) + " /v CurrentDirectory /d \"\" /f /reg:32"), 0u);
    EXPECT_EQ(detectInstalledGames(registry), 0u);
    EXPECT_EQ(readGameDir(registry, kCfs1), "");
}

TEST_F(Win32RegistryTest, BothGames) {
    ASSERT_EQ(runReg("add " + hklm(GameTable[kCfs1].registryKey) +
                     " /v CurrentDirectory /d \"D:\\CFS\" /f /reg:32"),
              0u);
    ASSERT_EQ(runReg("add " + hklm(GameTable[kCfs2].registryKey) +
                     " /v CurrentDirectory /d \"D:\\CFS2\" /f /reg:32"),
              0u);
    EXPECT_EQ(detectInstalledGames(registry), 3u);
    EXPECT_EQ(readGameDir(registry, kCfs1), "D:\\CFS");
}

}  // namespace
}  // namespace velmora
