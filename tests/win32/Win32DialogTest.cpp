// The dialogs Windows builds from Velmora.rc, driven through the Win32 dialog
// port side by side with the in-memory dialog the handlers' tests run on:
// both must show the handlers the same controls, lists, radios and boxes.
#include "platform/win32/Win32Dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "testkit/InMemoryDialog.h"
#include "testkit/ResourceScript.h"

namespace velmora {
namespace {

std::string textOf(HWND window, bool className = false) {
    char text[1024] = {};
    className ? ::GetClassNameA(window, text, sizeof text) : ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// A hidden dialog made from the program's template, with common controls 6
// as the manifest asks; every WM_COMMAND it gets goes to `watcher`.
class DialogWindow {
public:
    using Watcher = std::function<void(int id, int code)>;
    explicit DialogWindow(int templateId, Watcher watcher = {}) : watcher_(std::move(watcher)) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        const DLGPROC procedure = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
            if (message == WM_INITDIALOG) ::SetWindowLongPtrA(window, DWLP_USER, lParam);
            auto* self = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrA(window, DWLP_USER));
            if (message != WM_COMMAND || !self || !self->watcher_) return message == WM_INITDIALOG;
            self->watcher_(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        };
        window_ = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, procedure,
                                       reinterpret_cast<LPARAM>(this));
    }
    ~DialogWindow() { ::DestroyWindow(window_); }
    HWND handle() const { return window_; }

private:
    HWND window_ = nullptr;
    Watcher watcher_;
};

// Hands each modal window this thread opens (a message box, the About box) to
// `handler` as it is activated, before its loop waits for the user.
std::function<void(HWND)> modalHandler;
std::vector<HWND> modalsSeen;

LRESULT CALLBACK watchModals(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && modalHandler && textOf(window, true) == "#32770" && ::GetWindow(window, GW_OWNER) &&
        std::find(modalsSeen.begin(), modalsSeen.end(), window) == modalsSeen.end()) {
        modalsSeen.push_back(window);
        modalHandler(window);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class Win32DialogWindowTest : public ::testing::Test {
protected:
    DialogWindow window{IDD_MAIN};
    Win32Dialog port{window.handle()};
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, watchModals, nullptr, ::GetCurrentThreadId());
    ~Win32DialogWindowTest() override {
        ::UnhookWindowsHookEx(hook);
        modalHandler = nullptr;
        modalsSeen.clear();
    }
    // Presses a button of a modal window as a click does; it acts once its loop runs.
    static void press(HWND window, int id) { ::PostMessageA(::GetDlgItem(window, id), BM_CLICK, 0, 0); }
};

// One of the two dialogs as a row drives it: its port, a user's click, whether
// Tab reaches a control, and the clicks it was told of and what the row noted.
struct Side {
    DialogPort& port;
    std::function<void(int)> click;
    std::function<bool(int)> tabReaches;
    std::string told = {};
    void clicked(int id, bool on) { told += std::to_string(id) + (on ? " on;" : " off;"); }
    // Notes what a row reads, to be compared with the other side's.
    Side& operator<<(const std::string& text) { return told += text + ";", *this; }
    Side& operator<<(int value) { return *this << std::to_string(value); }
    Side& operator<<(const std::vector<std::string>& entries) {
        for (const std::string& entry : entries) *this << entry;
        return *this;
    }
};

const std::pair<const char*, void (*)(Side&)> kRows[] = {
    // With both games and none chosen no radio is checked: only the tab stop
    // Velmora gives the first lets the keyboard reach the game radios.
    {"TheFirstGameRadiosTabStopMakesTheGroupReachable",
     [](Side& s) {
         for (int id : {IDC_CFS1, IDC_CFS2, IDC_LAUNCH}) s.port.enable(id, true);
         EXPECT_FALSE(s.tabReaches(IDC_CFS1));
         s.port.setTabStop(IDC_CFS1, true);
         EXPECT_TRUE(s.tabReaches(IDC_CFS1));
     }},
    // CheckRadioButton sets every id of the range, hidden or disabled, and no
    // other range. A click walks the group as GetNextDlgGroupItem does,
    // passing over the hidden, disabled IDC_RESTORE_DPS; a radio is checked
    // before its click is told. checkedRadio gives the first checked in id order.
    {"RadiosCheckAsWindowsChecksThem",
     [](Side& s) {
         s << s.port.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS);
         s.port.setChecked(IDC_ALLIED, true);
         s.port.setChecked(IDC_RESTORE_DPS, true);
         s.port.checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, IDC_AXIS);
         s << s.port.isChecked(IDC_ALLIED) << s.port.isChecked(IDC_RESTORE_DPS);
         s.port.checkRadio(IDC_CFS1, IDC_CFS2, IDC_CFS2);
         s << s.port.checkedRadio(IDC_CFS1, IDC_CFS2) << s.port.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS);
         s.port.enable(IDC_ALLIED, true);
         s.port.enable(IDC_AXIS, true);
         s.port.checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, IDC_RESTORE_DPS);
         s.click(IDC_ALLIED);
         s << s.port.isChecked(IDC_RESTORE_DPS) << s.port.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS);
         s.click(IDC_AXIS);
         s << s.port.isChecked(IDC_ALLIED) << s.port.isChecked(IDC_RESTORE_DPS)
           << s.port.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS);
     }},
    {"ACheckBoxFlipsBeforeItsClickIsToldAndSettingItTellsNothing",
     [](Side& s) {
         s.click(IDC_COLLISION);
         s.click(IDC_COLLISION);
         s.port.setChecked(IDC_FRACT_MIN, true);
         s << s.port.isChecked(IDC_COLLISION) << s.port.isChecked(IDC_FRACT_MIN);
     }},
    {"TextsAndStatesOfFieldsAndButtons",
     [](Side& s) {
         s << s.port.text(IDCANCEL, 260) << s.port.text(IDC_LAUNCH, 260) << s.port.isEnabled(IDOK);
         s.port.setText(IDC_LAUNCH, "Launch CFS2");
         s.port.setText(IDC_ACTIVE_PROGRAM, "CFS2.EXE");
         s.port.enable(IDOK, true);
         s.port.enable(IDC_COLLISION, false);
         s << s.port.text(IDC_LAUNCH, 260) << s.port.text(IDC_ACTIVE_PROGRAM, 5) << s.port.text(IDC_ACTIVE_PROGRAM, 1)
           << s.port.isEnabled(IDOK) << s.port.isEnabled(IDC_COLLISION);
     }},
    // Letters, digits, spaces and dots only: Windows' word sort weighs other
    // punctuation in ways the in-memory list's folded bytes do not.
    {"ASortedListOrdersWithoutRegardToCaseAndFindsWholeEntries",
     [](Side& s) {
         for (const char* name : {"Zulu.mis", "alpha.mis", "Original mp.mis file", "Beta.mis", "beta2.mis", "ALPHA2.mis",
                                  "Mission 9.mis", "mission 10.mis", "m07.mis", "m.mis", "m 07.mis", "beta.mis.bak"})
             s << s.port.addListEntry(IDC_MISSION, name);
         s << s.port.listEntries(IDC_MISSION);
         for (const char* wanted : {"BETA.MIS", "Beta", "beta.mis.BAK", "ORIGINAL MP.MIS FILE", "alpha.mis ", ""})
             s << s.port.findListEntry(IDC_MISSION, wanted);
     }},
    // Nothing selected, an entry, a buffer of 9 bytes keeping 8, typed text
    // (a list takes none), an index past the end, a reset list.
    {"ListTextIsTheSelectedEntryOrEmpty",
     [](Side& s) {
         s.port.addListEntry(IDC_MISSION, "Original mp.mis file");
         s.port.addListEntry(IDC_MISSION, "Beta.mis");
         s << s.port.text(IDC_MISSION, 260) << s.port.listSelection(IDC_MISSION);
         s.port.selectListEntry(IDC_MISSION, 1);
         s << s.port.text(IDC_MISSION, 260) << s.port.text(IDC_MISSION, 9) << s.port.listSelection(IDC_MISSION);
         s.port.setText(IDC_MISSION, "Beta.mis");
         s << s.port.text(IDC_MISSION, 260);
         s.port.selectListEntry(IDC_MISSION, 2);
         s << s.port.text(IDC_MISSION, 260) << s.port.listSelection(IDC_MISSION);
         s.port.selectListEntry(IDC_MISSION, 0);
         s.port.resetList(IDC_MISSION);
         s << s.port.text(IDC_MISSION, 260) << s.port.listEntries(IDC_MISSION);
     }},
    // Inserting past the end appends.
    {"AnUnsortedListKeepsEntriesWherePut",
     [](Side& s) {
         s << s.port.addListEntry(IDC_IP_ADDRESS, "192.168.1.5") << s.port.addListEntry(IDC_IP_ADDRESS, "10.0.0.2")
           << s.port.insertListEntry(IDC_IP_ADDRESS, 0, "203.0.113.7")
           << s.port.insertListEntry(IDC_IP_ADDRESS, 9, "127.0.0.1");
         s.port.selectListEntry(IDC_IP_ADDRESS, 0);
         s << s.port.text(IDC_IP_ADDRESS, 260) << s.port.listEntries(IDC_IP_ADDRESS);
     }},
};

// Each row runs on a fresh real dialog and a fresh in-memory one; what each
// was told of its clicks and what the row noted must be the same.
TEST(Win32DialogPort, BehavesAsTheInMemoryDialogOperationByOperation) {
    for (const auto& [name, run] : kRows) {
        SCOPED_TRACE(name);
        Side* realSide = nullptr;
        DialogWindow window(IDD_MAIN, [&](int id, int code) {
            if (code == BN_CLICKED && realSide) realSide->clicked(id, ::IsDlgButtonChecked(window.handle(), id));
        });
        Win32Dialog realPort(window.handle());
        const HWND dialog = window.handle();
        Side real{realPort, [&](int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); },
                  [&](int id) {
                      const HWND start = ::GetDlgItem(dialog, IDC_LAUNCH);
                      for (HWND at = ::GetNextDlgTabItem(dialog, start, FALSE); at && at != start;
                           at = ::GetNextDlgTabItem(dialog, at, FALSE))
                          if (at == ::GetDlgItem(dialog, id)) return true;
                      return false;
                  }};
        realSide = &real;
        testkit::InMemoryDialog memoryPort;
        Side memory{memoryPort, [&](int id) { memoryPort.click(id); },
                    [&](int id) { return memoryPort.hasTabStop(id); }};
        memoryPort.onCommand([&](int id) { memory.clicked(id, memoryPort.isChecked(id)); });
        for (Side* side : {&real, &memory}) {
            SCOPED_TRACE(side == &real ? "Win32" : "in memory");
            run(*side);
        }
        EXPECT_EQ(real.told, memory.told);
    }
}

LONG offCentre(const RECT& inner, const RECT& outer) {
    return std::labs((inner.left + inner.right) - (outer.left + outer.right)) +
           std::labs((inner.top + inner.bottom) - (outer.top + outer.bottom));
}

// Every control in template order, with the id, class, text, states and kinds
// the in-memory dialog takes from the script; the main window opens centred.
TEST(DialogTemplate, WindowsMakesTheControlsTheInMemoryDialogIsBuiltFrom) {
    for (int templateId : {IDD_MAIN, IDD_ABOUTBOX}) {
        const DialogWindow dialog(templateId);
        ASSERT_NE(dialog.handle(), nullptr);
        HWND control = ::GetWindow(dialog.handle(), GW_CHILD);
        for (const testkit::ResourceControl& c : testkit::resourceDialog(templateId)) {
            SCOPED_TRACE("dialog " + std::to_string(templateId) + ", control \"" + c.text + "\"");
            ASSERT_NE(control, nullptr) << "missing";
            EXPECT_EQ(::GetDlgCtrlID(control), c.id);
            EXPECT_EQ(::lstrcmpiA(textOf(control, true).c_str(), c.className.c_str()), 0) << textOf(control, true);
            if (c.literalText) { EXPECT_EQ(textOf(control), c.text); }
            const LONG style = ::GetWindowLongA(control, GWL_STYLE);
            EXPECT_EQ(!(style & WS_DISABLED), c.enabled());
            EXPECT_EQ((style & WS_VISIBLE) != 0, c.visible());
            EXPECT_EQ((style & WS_GROUP) != 0, c.has("WS_GROUP"));
            EXPECT_EQ((style & WS_TABSTOP) != 0, c.has("WS_TABSTOP"));
            if (c.className == "Button") {
                EXPECT_EQ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON, c.has("BS_AUTORADIOBUTTON"));
                EXPECT_EQ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX, c.has("BS_AUTOCHECKBOX"));
            }
            if (c.className == "ComboBox") { EXPECT_EQ((style & CBS_SORT) != 0, c.has("CBS_SORT")); }
            control = ::GetWindow(control, GW_HWNDNEXT);
        }
        EXPECT_EQ(control, nullptr) << "a control the script reader missed: \"" << textOf(control) << "\"";
        if (templateId != IDD_MAIN) continue;
        RECT window{}, area{};
        ::GetWindowRect(dialog.handle(), &window);
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        EXPECT_LE(offCentre(window, area), 4) << "a template at (0, 0) without DS_CENTER opens in the corner";
    }
}

TEST_F(Win32DialogWindowTest, MessageBoxShowsCaptionTextIconAndButtonsAndGivesTheAnswer) {
    const struct { const char *text, *caption; MessageIcon icon; MessageButtons buttons; int press; MessageAnswer answer;
                   LPCSTR shownIcon; std::vector<int> shownButtons; } rows[] = {
        {"Could not locate CFS1 or CFS2 executable.", "Error", MessageIcon::Error, MessageButtons::Ok, IDOK,
         MessageAnswer::Ok, IDI_ERROR, {IDOK}},
        {"Are you SURE you want to exit?", "Velmora", MessageIcon::None, MessageButtons::YesNo, IDNO, MessageAnswer::No,
         nullptr, {IDYES, IDNO}},
        {"Units are now friendly", "FYI", MessageIcon::Information, MessageButtons::YesNo, IDYES, MessageAnswer::Yes,
         IDI_INFORMATION, {IDYES, IDNO}},
        {"CFS2 is running.", "Velmora", MessageIcon::Warning, MessageButtons::Ok, IDOK, MessageAnswer::Ok, IDI_WARNING,
         {IDOK}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        int shown = 0;
        modalHandler = [&](HWND box) {
            ++shown;
            EXPECT_EQ(textOf(box), row.caption);
            EXPECT_EQ(textOf(::GetDlgItem(box, 0xFFFF)), row.text);  // the id Windows gives a box's text
            // The box is not shown yet when it is activated: ask the icon's style.
            const HWND icon = ::GetDlgItem(box, 0x0440);
            const bool hasIcon = icon && (::GetWindowLongA(icon, GWL_STYLE) & WS_VISIBLE);
            EXPECT_EQ(hasIcon ? reinterpret_cast<HICON>(::SendMessageA(icon, STM_GETICON, 0, 0)) : nullptr,
                      row.shownIcon ? ::LoadIconA(nullptr, row.shownIcon) : nullptr);
            std::vector<int> buttons;
            for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                if (textOf(child, true) == "Button" && (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE))
                    buttons.push_back(::GetDlgCtrlID(child));
            EXPECT_EQ(buttons, row.shownButtons);
            EXPECT_EQ(::GetWindow(box, GW_OWNER), window.handle());
            press(box, row.press);
        };
        EXPECT_EQ(port.messageBox(row.text, row.caption, row.icon, row.buttons), row.answer);
        EXPECT_EQ(shown, 1);
    }
}

// Modal over the main window, centred on it, closed by OK or by Escape.
TEST_F(Win32DialogWindowTest, AboutBoxIsModalOverTheMainWindowAndClosesWithOkOrEscape) {
    for (bool escape : {false, true}) {
        int shown = 0;
        modalHandler = [&](HWND box) {
            ++shown;
            EXPECT_EQ(textOf(box), "About Velmora");
            EXPECT_FALSE(::IsWindowEnabled(window.handle()));
            RECT own{}, about{};
            ::GetWindowRect(window.handle(), &own);
            ::GetWindowRect(box, &about);
            EXPECT_LE(offCentre(about, own), 2);
            escape ? void(::PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0)) : press(box, IDOK);
        };
        port.runAboutBox();
        EXPECT_EQ(shown, 1);
        EXPECT_TRUE(::IsWindowEnabled(window.handle())) << "takes input again once it is closed";
    }
}

TEST_F(Win32DialogWindowTest, SystemMenuIconsAndShowing) {
    const HMENU menu = ::GetSystemMenu(window.handle(), FALSE);
    const int before = ::GetMenuItemCount(menu);
    EXPECT_EQ(port.loadString(IDS_ABOUTBOX + 1000), "") << "a string the table does not hold";
    ASSERT_TRUE(port.appendSystemMenuItem(IDM_ABOUTBOX, port.loadString(IDS_ABOUTBOX)));
    ASSERT_EQ(::GetMenuItemCount(menu), before + 2);
    EXPECT_TRUE(::GetMenuState(menu, static_cast<UINT>(before), MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(menu, before + 1), static_cast<UINT>(IDM_ABOUTBOX));
    char text[64] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(before + 1), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Velmora...");

    ASSERT_NE(port.mainIcon, nullptr);
    port.setWindowIcons();
    for (WPARAM size : {ICON_BIG, ICON_SMALL})
        EXPECT_EQ(::SendMessageA(window.handle(), WM_GETICON, size, 0), reinterpret_cast<LRESULT>(port.mainIcon));
    port.showWindow(WindowShow::Show);
    EXPECT_TRUE(::IsWindowVisible(window.handle()));
    EXPECT_FALSE(port.onPaint()) << "the system paints a window that is not minimised";
    port.showWindow(WindowShow::Minimize);
    EXPECT_TRUE(::IsIconic(window.handle()));
    EXPECT_TRUE(port.onPaint());
    port.showWindow(WindowShow::Hide);
    EXPECT_FALSE(::IsWindowVisible(window.handle()));
}

}  // namespace
}  // namespace velmora
