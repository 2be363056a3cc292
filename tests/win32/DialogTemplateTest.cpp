// The dialogs Windows builds from Velmora.rc against the control table the
// rest of the program (and the in-memory dialog) is built on: every control
// in template order, with its id, class, kind, states, group, tab stop, text,
// position and size.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/DialogLayout.h"
#include "res/resource.h"
#include "win32/DialogWindow.h"

namespace velmora {
namespace {

using testkit::DialogWindow;
using testkit::dialogUnitsToPixels;
using testkit::rectInParent;

std::string className(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

LONG style(HWND window) { return ::GetWindowLongA(window, GWL_STYLE); }

bool has(LONG bits, LONG flag) { return (bits & flag) == flag; }

// The class and the class-specific style each kind of control is made of.
void expectKind(const DialogWindow& dialog, HWND control, ControlKind kind) {
    const LONG s = style(control);
    const std::string name = className(control);
    switch (kind) {
        case ControlKind::GroupBox:
            EXPECT_EQ(name, "Button");
            EXPECT_EQ(s & BS_TYPEMASK, BS_GROUPBOX);
            break;
        case ControlKind::AutoRadio:
            EXPECT_EQ(name, "Button");
            EXPECT_EQ(s & BS_TYPEMASK, BS_AUTORADIOBUTTON);
            break;
        case ControlKind::AutoCheckBox:
            EXPECT_EQ(name, "Button");
            EXPECT_EQ(s & BS_TYPEMASK, BS_AUTOCHECKBOX);
            break;
        case ControlKind::PushButton:
            EXPECT_EQ(name, "Button");
            EXPECT_EQ(s & BS_TYPEMASK, BS_PUSHBUTTON);
            break;
        case ControlKind::DefaultPushButton:
            EXPECT_EQ(name, "Button");
            EXPECT_EQ(s & BS_TYPEMASK, BS_DEFPUSHBUTTON);
            break;
        case ControlKind::Label:
            EXPECT_EQ(name, "Static");
            EXPECT_EQ(s & SS_TYPEMASK, SS_LEFT);
            break;
        case ControlKind::Icon:
            EXPECT_EQ(name, "Static");
            EXPECT_EQ(s & SS_TYPEMASK, SS_ICON);
            EXPECT_NE(::SendMessageA(control, STM_GETICON, 0, 0), 0);
            break;
        case ControlKind::SortedDropList:
        case ControlKind::DropList:
            EXPECT_EQ(name, "ComboBox");
            EXPECT_EQ(s & 0x3, CBS_DROPDOWNLIST);
            EXPECT_EQ(has(s, CBS_SORT), kind == ControlKind::SortedDropList);
            // The combo box hands the scroll bar on to its list at once.
            EXPECT_TRUE(has(dialog.creation(control).style, WS_VSCROLL));
            break;
        case ControlKind::ReadOnlyEdit:
            EXPECT_EQ(name, "Edit");
            EXPECT_TRUE(has(s, ES_READONLY));
            EXPECT_TRUE(has(s, ES_AUTOHSCROLL));
            EXPECT_FALSE(has(s, ES_MULTILINE));
            EXPECT_TRUE(has(s, WS_BORDER) || has(::GetWindowLongA(control, GWL_EXSTYLE), WS_EX_CLIENTEDGE));
            break;
    }
}

void expectPlace(const DialogWindow& dialog, HWND control, const ControlLayout& wanted) {
    const RECT want = dialogUnitsToPixels(dialog.handle(), wanted.x, wanted.y, wanted.width, wanted.height);
    const RECT got = rectInParent(control);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    if (wanted.kind == ControlKind::Icon) return;  // an icon control takes the icon's size
    EXPECT_EQ(got.right, want.right);
    if (wanted.kind == ControlKind::SortedDropList || wanted.kind == ControlKind::DropList) {
        // A drop-down list shrinks to its field once made; the template's
        // height is its height with the list dropped down.
        EXPECT_EQ(dialog.creation(control).height, want.bottom - want.top);
        return;
    }
    EXPECT_EQ(got.bottom, want.bottom);
}

void expectControls(const DialogWindow& dialog, const DialogLayout& table) {
    HWND control = ::GetWindow(dialog.handle(), GW_CHILD);
    int index = 0;
    for (const ControlLayout& c : table.controls) {
        SCOPED_TRACE("control #" + std::to_string(++index) + " \"" + c.text + "\" id " + std::to_string(c.id));
        ASSERT_NE(control, nullptr) << "missing";
        EXPECT_EQ(::GetDlgCtrlID(control), c.id);
        expectKind(dialog, control, c.kind);
        const LONG s = style(control);
        EXPECT_EQ(has(s, WS_DISABLED), !c.enabled);
        EXPECT_EQ(has(s, WS_VISIBLE), c.visible);
        EXPECT_EQ(has(s, WS_GROUP), c.groupStart);
        EXPECT_EQ(has(s, WS_TABSTOP), c.tabStop);
        if (c.kind != ControlKind::Icon) {
            EXPECT_EQ(windowText(control), c.text);
        }
        expectPlace(dialog, control, c);
        control = ::GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "a control the table does not have: \"" << windowText(control) << "\"";
}

void expectFrame(HWND dialog, const DialogLayout& table) {
    EXPECT_EQ(windowText(dialog), table.caption);
    const LONG s = style(dialog);
    EXPECT_TRUE(has(s, WS_POPUP));
    EXPECT_TRUE(has(s, WS_CAPTION));
    EXPECT_TRUE(has(s, WS_SYSMENU));
    EXPECT_FALSE(has(s, WS_MAXIMIZEBOX));
    EXPECT_FALSE(has(s, WS_THICKFRAME)) << "the frame is fixed";
    EXPECT_TRUE(has(::GetWindowLongA(dialog, GWL_EXSTYLE), WS_EX_DLGMODALFRAME));
    RECT client{};
    ::GetClientRect(dialog, &client);
    const RECT want = dialogUnitsToPixels(dialog, 0, 0, table.width, table.height);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);

    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    const HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);
}

TEST(DialogTemplate, MainDialogHasTheTableControlsInOrder) {
    const DialogWindow dialog(IDD_MAIN);
    ASSERT_NE(dialog.handle(), nullptr);
    expectFrame(dialog.handle(), mainDialogLayout());
    expectControls(dialog, mainDialogLayout());
}

TEST(DialogTemplate, MainDialogIsACentredTaskBarWindowWithAMinimiseBox) {
    const DialogWindow dialog(IDD_MAIN);
    const LONG s = style(dialog.handle());
    EXPECT_TRUE(has(s, WS_MINIMIZEBOX));
    // At template position (0, 0) only DS_CENTER keeps it off the corner.
    EXPECT_TRUE(has(s, DS_CENTER));
    EXPECT_TRUE(has(::GetWindowLongA(dialog.handle(), GWL_EXSTYLE), WS_EX_APPWINDOW));
    const HWND label = ::GetWindow(::GetDlgItem(dialog.handle(), IDC_ACTIVE_PROGRAM), GW_HWNDNEXT);
    ASSERT_EQ(windowText(label), "Active program:");
    EXPECT_TRUE(has(style(label), SS_CENTERIMAGE)) << "its text is centred vertically beside the field";
}

TEST(DialogTemplate, AboutBoxHasTheTableControlsInOrder) {
    const DialogWindow dialog(IDD_ABOUTBOX);
    ASSERT_NE(dialog.handle(), nullptr);
    expectFrame(dialog.handle(), aboutDialogLayout());
    expectControls(dialog, aboutDialogLayout());
    EXPECT_FALSE(has(style(dialog.handle()), WS_MINIMIZEBOX));
    // The version label shows an ampersand as it is.
    EXPECT_TRUE(has(style(::GetDlgItem(dialog.handle(), IDC_ABOUT_VERSION)), SS_NOPREFIX));
}

}  // namespace
}  // namespace velmora
