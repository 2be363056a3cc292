// The registry lookup on Windows, against keys written where the games'
// 32-bit installers write them. HKEY_LOCAL_MACHINE is a scratch key of the
// current user while the test runs: a real installation's keys stay as they are.
#include "platform/GameRegistry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velmora {
namespace {

constexpr const char* kCfs2Key = "Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator 2";
constexpr const char* kScratch = "Software\\Velmora tests";

// With a 32-bit view of its own, as HKLM\Software has: Wine keeps the views
// of a key with this subkey apart.
class Win32Registry : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmora tests\\Software\\Wow6432Node", 0, nullptr, 0,
                                    KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &scratch, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(scratch);
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_ALL_ACCESS, &scratch), ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch), ERROR_SUCCESS);
    }
    void TearDown() override {
        ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        ::RegCloseKey(scratch);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    }
    HKEY scratch = nullptr;
};

TEST_F(Win32Registry, OnlyATextValueInThe32BitViewIsAnInstallation) {
    const std::string cfs2("C:\\Games\\CFS2\0", 14);
    const struct {
        const char* what;
        REGSAM view;
        DWORD type;
        std::string bytes;
        std::optional<std::string> found;
    } rows[] = {
        {"the installers' view", KEY_WOW64_32KEY, REG_SZ, cfs2, "C:\\Games\\CFS2"},
        {"without a terminator", KEY_WOW64_32KEY, REG_SZ, "D:\\CFS2", "D:\\CFS2"},
        {"the 64-bit view", KEY_WOW64_64KEY, REG_SZ, cfs2, std::nullopt},
        {"no key", 0, REG_NONE, "", std::nullopt},
        {"empty", KEY_WOW64_32KEY, REG_SZ, std::string("\0", 1), std::nullopt},
        {"a number", KEY_WOW64_32KEY, REG_DWORD, std::string("\1\0\0\0", 4), std::nullopt},
        {"519 bytes", KEY_WOW64_32KEY, REG_SZ, std::string(519, 'd'), std::string(519, 'd')},
        {"520 bytes", KEY_WOW64_32KEY, REG_SZ, std::string(520, 'd'), std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kCfs2Key, view, 0);
        HKEY key;
        if (row.view) {
            ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCfs2Key, 0, nullptr, 0, KEY_SET_VALUE | row.view, nullptr,
                                        &key, nullptr),
                      ERROR_SUCCESS);
            ::RegSetValueExA(key, "CurrentDirectory", 0, row.type, reinterpret_cast<const BYTE*>(row.bytes.data()),
                             static_cast<DWORD>(row.bytes.size()));
            ::RegCloseKey(key);
        }
        EXPECT_EQ(platformGameRegistry().currentDirectory(kCfs2Key), row.found);
    }
}

}  // namespace
}  // namespace velmora
