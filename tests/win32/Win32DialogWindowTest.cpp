// The window-level operations of the Win32 dialog port: message boxes, the
// About box, the system menu, icons, strings, showing and ending the dialog,
// and where the minimised window draws its icon.
#include "platform/win32/Win32Dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"
#include "win32/DialogWindow.h"
#include "win32/ModalWatcher.h"

namespace velmora {
namespace {

using testkit::BoxView;
using testkit::ModalWatcher;
using testkit::pressButton;
using testkit::viewBox;

class Win32DialogWindowTest : public ::testing::Test {
protected:
    testkit::DialogWindow window{IDD_MAIN};
    Win32Dialog port{window.handle()};
};

TEST_F(Win32DialogWindowTest, MessageBoxShowsCaptionIconAndButtonsAndGivesTheAnswer) {
    std::vector<BoxView> shown;
    std::vector<int> presses = {IDOK, IDNO, IDYES};
    ModalWatcher watcher([&](HWND box) {
        shown.push_back(viewBox(box));
        pressButton(box, presses[shown.size() - 1]);
    });

    EXPECT_EQ(port.messageBox("Could not locate CFS1 or CFS2 executable.", "Error", MessageIcon::Error,
                              MessageButtons::Ok),
              MessageAnswer::Ok);
    EXPECT_EQ(port.messageBox("Are you SURE you want to exit?", "Velmora", MessageIcon::None, MessageButtons::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(port.messageBox("Units are now friendly", "FYI", MessageIcon::Information, MessageButtons::YesNo),
              MessageAnswer::Yes);

    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Could not locate CFS1 or CFS2 executable.");
    EXPECT_EQ(shown[0].icon, ::LoadIconA(nullptr, IDI_ERROR));
    EXPECT_EQ(shown[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(shown[0].owner, window.handle());

    EXPECT_EQ(shown[1].caption, "Velmora");
    EXPECT_EQ(shown[1].icon, nullptr);
    EXPECT_EQ(shown[1].buttons, (std::vector<int>{IDYES, IDNO}));

    EXPECT_EQ(shown[2].icon, ::LoadIconA(nullptr, IDI_INFORMATION));
}

TEST_F(Win32DialogWindowTest, AboutBoxIsModalOverTheMainWindowAndClosesWithOkOrEscape) {
    std::vector<std::string> labels;
    bool ownerTookInput = true;
    LONG offCentre = 0;
    int press = IDOK;
    ModalWatcher watcher([&](HWND box) {
        labels.push_back(viewBox(box).caption);
        ownerTookInput = ::IsWindowEnabled(window.handle()) != FALSE;
        RECT own{}, about{};
        ::GetWindowRect(window.handle(), &own);
        ::GetWindowRect(box, &about);
        offCentre = std::labs((own.left + own.right) - (about.left + about.right)) +
                    std::labs((own.top + own.bottom) - (about.top + about.bottom));
        if (press == IDOK)
            pressButton(box, IDOK);
        else
            ::PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });

    port.runAboutBox();
    EXPECT_EQ(labels, std::vector<std::string>{"About Velmora"});
    EXPECT_FALSE(ownerTookInput) << "the main window takes no input while the About box is open";
    EXPECT_LE(offCentre, 2) << "centred over the main window";
    EXPECT_TRUE(::IsWindowEnabled(window.handle())) << "and takes input again once it is closed";

    press = IDCANCEL;
    port.runAboutBox();
    EXPECT_EQ(watcher.seen(), 2);
}

TEST_F(Win32DialogWindowTest, SystemMenuGetsASeparatorAndTheAboutItem) {
    const HMENU menu = ::GetSystemMenu(window.handle(), FALSE);
    const int before = ::GetMenuItemCount(menu);
    EXPECT_EQ(port.loadString(IDS_ABOUTBOX), "&About Velmora...");
    EXPECT_EQ(port.loadString(IDS_ABOUTBOX + 1000), "") << "a string the table does not hold";

    ASSERT_TRUE(port.appendSystemMenuItem(IDM_ABOUTBOX, port.loadString(IDS_ABOUTBOX)));
    ASSERT_EQ(::GetMenuItemCount(menu), before + 2);
    EXPECT_EQ(::GetMenuState(menu, static_cast<UINT>(before), MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(::GetMenuItemID(menu, before + 1), static_cast<UINT>(IDM_ABOUTBOX));
    char text[64] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(before + 1), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Velmora...");
}

TEST_F(Win32DialogWindowTest, WindowIconsAreTheProgramsIcon) {
    ASSERT_NE(port.icon(), nullptr);
    port.setWindowIcons();
    EXPECT_EQ(::SendMessageA(window.handle(), WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(port.icon()));
    EXPECT_EQ(::SendMessageA(window.handle(), WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(port.icon()));
}

TEST_F(Win32DialogWindowTest, ShowMinimiseAndHide) {
    port.showWindow(WindowShow::Show);
    EXPECT_TRUE(::IsWindowVisible(window.handle()));
    EXPECT_FALSE(port.paintMinimized()) << "the system paints a window that is not minimised";
    port.showWindow(WindowShow::Minimize);
    EXPECT_TRUE(::IsIconic(window.handle()));
    EXPECT_TRUE(port.paintMinimized());
    port.showWindow(WindowShow::Hide);
    EXPECT_FALSE(::IsWindowVisible(window.handle()));
}

INT_PTR CALLBACK endAtOnce(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    Win32Dialog(dialog).endDialog(7);
    return TRUE;
}

TEST(Win32DialogEnd, EndingDuringInitialisationClosesTheDialogBeforeItIsUsed) {
    const INT_PTR result =
        ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, endAtOnce, 0);
    EXPECT_EQ(result, 7);
}

TEST(MinimizedIconOrigin, CentresTheIconTruncatingTowardZero) {
    EXPECT_EQ(minimizedIconOrigin(SIZE{36, 36}, SIZE{32, 32}).x, 2);
    EXPECT_EQ(minimizedIconOrigin(SIZE{37, 36}, SIZE{32, 32}).x, 3);
    // (30 - 32 + 1) / 2 is 0, not the -1 that rounding down would give.
    EXPECT_EQ(minimizedIconOrigin(SIZE{30, 36}, SIZE{32, 32}).x, 0);
    EXPECT_EQ(minimizedIconOrigin(SIZE{27, 36}, SIZE{32, 32}).x, -2);
    EXPECT_EQ(minimizedIconOrigin(SIZE{36, 30}, SIZE{32, 32}).y, 0);
    EXPECT_EQ(minimizedIconOrigin(SIZE{36, 48}, SIZE{32, 16}).y, 16);
}

}  // namespace
}  // namespace velmora
