// The program's resources besides the dialogs, as Windows finds them in the
// executable: the manifest, the icon's images and the version.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "res/resource.h"

namespace velmora {
namespace {

std::string_view resourceBytes(const char* type, const char* name) {
    const HMODULE module = ::GetModuleHandleA(nullptr);
    const HRSRC found = ::FindResourceA(module, name, type);
    if (!found) return {};
    const HGLOBAL loaded = ::LoadResource(module, found);
    return std::string_view(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module, found));
}

TEST(Resources, ManifestAsksForCommonControls6AndNoExecutionLevel) {
    const std::string_view manifest = resourceBytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string_view::npos);
    EXPECT_NE(manifest.find("<dpiAware"), std::string_view::npos);
    // A requested execution level, even asInvoker, turns file
    // virtualization off, and Velmora would no longer see the files the
    // games see under Program Files.
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string_view::npos);
    EXPECT_EQ(manifest.find("trustInfo"), std::string_view::npos);
}

TEST(Resources, IconHolds32And16PixelImagesOf16Colours) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    const std::string_view group = resourceBytes(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, sizeof count);
    ASSERT_EQ(count, 2);
    ASSERT_EQ(group.size(), 6u + count * sizeof(GroupEntry));
    int sizes[2] = {};
    for (int i = 0; i < count; ++i) {
        GroupEntry entry{};
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.colours, 16);
        EXPECT_EQ(entry.bitCount, 4);
        sizes[i] = entry.width;
    }
    EXPECT_EQ(sizes[0], 32);
    EXPECT_EQ(sizes[1], 16);
}

TEST(Resources, VersionIs1_1) {
    const std::string_view version = resourceBytes(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(VS_VERSION_INFO));
    const DWORD signature = 0xFEEF04BD;
    const size_t at = version.find(std::string_view(reinterpret_cast<const char*>(&signature), sizeof signature));
    ASSERT_NE(at, std::string_view::npos);
    VS_FIXEDFILEINFO fixed{};
    ASSERT_LE(at + sizeof fixed, version.size());
    std::memcpy(&fixed, version.data() + at, sizeof fixed);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
}  // namespace velmora
