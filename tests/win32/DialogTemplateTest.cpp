// The dialogs Windows builds from Velmora.rc against what the tests read from
// the same script (testkit/ResourceScript) to build the in-memory dialog:
// every control in template order, with its id, class, text and the states
// and kinds the in-memory dialog takes from it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "testkit/ResourceScript.h"
#include "win32/DialogWindow.h"

namespace velmora {
namespace {

using testkit::ResourceControl;

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

TEST(DialogTemplate, WindowsMakesTheControlsTheInMemoryDialogIsBuiltFrom) {
    for (int templateId : {IDD_MAIN, IDD_ABOUTBOX}) {
        const testkit::DialogWindow dialog(templateId);
        ASSERT_NE(dialog.handle(), nullptr);
        HWND control = ::GetWindow(dialog.handle(), GW_CHILD);
        int index = 0;
        for (const ResourceControl& c : testkit::resourceDialog(templateId)) {
            SCOPED_TRACE("dialog " + std::to_string(templateId) + ", control #" + std::to_string(++index) + " \"" +
                         c.text + "\"");
            ASSERT_NE(control, nullptr) << "missing";
            EXPECT_EQ(::GetDlgCtrlID(control), c.id);
            EXPECT_EQ(::lstrcmpiA(className(control).c_str(), c.className.c_str()), 0) << className(control);
            if (c.literalText) {
                EXPECT_EQ(windowText(control), c.text);
            }
            const LONG style = ::GetWindowLongA(control, GWL_STYLE);
            EXPECT_EQ(!(style & WS_DISABLED), c.enabled());
            EXPECT_EQ((style & WS_VISIBLE) != 0, c.visible());
            EXPECT_EQ((style & WS_GROUP) != 0, c.has("WS_GROUP"));
            EXPECT_EQ((style & WS_TABSTOP) != 0, c.has("WS_TABSTOP"));
            if (c.className == "Button") {
                EXPECT_EQ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON, c.has("BS_AUTORADIOBUTTON"));
                EXPECT_EQ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX, c.has("BS_AUTOCHECKBOX"));
            }
            if (c.className == "ComboBox") {
                EXPECT_EQ((style & CBS_SORT) != 0, c.has("CBS_SORT"));
            }
            control = ::GetWindow(control, GW_HWNDNEXT);
        }
        EXPECT_EQ(control, nullptr) << "a control the script reader missed: \"" << windowText(control) << "\"";
    }
}

TEST(DialogTemplate, TheMainWindowOpensCentredOnTheScreen) {
    // Its template sits at (0, 0); without DS_CENTER it would open in the corner.
    const testkit::DialogWindow dialog(IDD_MAIN);
    RECT window{}, area{};
    ::GetWindowRect(dialog.handle(), &window);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_LE(std::labs((window.left + window.right) - (area.left + area.right)), 2);
    EXPECT_LE(std::labs((window.top + window.bottom) - (area.top + area.bottom)), 2);
}

}  // namespace
}  // namespace velmora
