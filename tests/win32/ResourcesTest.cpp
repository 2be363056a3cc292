// The program's resources as Windows finds them in the executable. The
// release's own Velmora.exe is checked again by scripts/check-release.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "res/resource.h"

namespace velmora {
namespace {

std::string_view resourceBytes(LPCSTR type, LPCSTR name) {
    const HMODULE module = ::GetModuleHandleA(nullptr);
    const HRSRC found = ::FindResourceA(module, name, type);
    if (!found) return {};
    return std::string_view(static_cast<const char*>(::LockResource(::LoadResource(module, found))),
                            ::SizeofResource(module, found));
}

template <typename T>
T at(std::string_view bytes, size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST(Resources, IconHolds32And16PixelImagesOf16Colours) {
    const std::string_view group = resourceBytes(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_EQ(at<WORD>(group, 4), 2);
    ASSERT_EQ(group.size(), 6u + 2 * 14u);  // a header, then one 14-byte entry per image
    for (int i = 0; i < 2; ++i) {
        const std::string_view entry = group.substr(6 + 14 * i);
        EXPECT_EQ(at<BYTE>(entry, 0), i == 0 ? 32 : 16) << "width";
        EXPECT_EQ(at<BYTE>(entry, 1), i == 0 ? 32 : 16) << "height";
        EXPECT_EQ(at<BYTE>(entry, 2), 16) << "colours";
        EXPECT_EQ(at<WORD>(entry, 6), 4) << "bits per pixel";
    }
}

// The version resource, the main window's caption and the About box tell the same version.
TEST(Resources, VersionCaptionAndAboutBoxAgree) {
    const std::string_view info = resourceBytes(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(VS_VERSION_INFO));
    ASSERT_EQ(at<DWORD>(info, 40), 0xFEEF04BDu) << "VS_FIXEDFILEINFO follows its 40-byte header";
    const DWORD high = at<DWORD>(info, 48), low = at<DWORD>(info, 52);
    std::string version = std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high));
    if (HIWORD(low) || LOWORD(low)) version += "." + std::to_string(HIWORD(low));
    if (LOWORD(low)) version += "." + std::to_string(LOWORD(low));
    for (const auto& [dialog, expected] : {std::pair{IDD_MAIN, "Velmora " + version}, {IDD_ABOUTBOX, "Velmora Version " + version}}) {
        char text[128] = {};
        const HWND window = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), nullptr,
                                                 [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        ::GetWindowTextA(dialog == IDD_MAIN ? window : ::GetDlgItem(window, IDC_ABOUT_VERSION), text, sizeof text);
        ::DestroyWindow(window);
        EXPECT_EQ(std::string(text), expected);
    }
}

}  // namespace
}  // namespace velmora
