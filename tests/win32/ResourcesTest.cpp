// The program's icon, as Windows finds it in the executable. The manifest and
// the version resource are checked in the release's Velmora.exe itself
// (scripts/check-release).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
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

}  // namespace
}  // namespace velmora
