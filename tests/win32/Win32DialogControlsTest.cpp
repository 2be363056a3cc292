// Radio buttons, check boxes, texts and states through the Win32 dialog port
// on the real controls, against what the in-memory dialog does for the same
// clicks. A click here is the button's own BM_CLICK, which does what a mouse
// click does before the dialog hears of it.
#include "platform/win32/Win32Dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "testkit/InMemoryDialog.h"
#include "win32/DialogWindow.h"

namespace velmora {
namespace {

struct Click {
    int id;
    bool checkedWhenReported;
    bool operator==(const Click&) const = default;
};

class Win32DialogControlsTest : public ::testing::Test {
protected:
    std::vector<Click> reported;  // the clicks the real dialog was told of
    testkit::DialogWindow window{IDD_MAIN, [this](int id, int code) {
                                     if (code == BN_CLICKED)
                                         reported.push_back({id, ::IsDlgButtonChecked(window.handle(), id) ==
                                                                     BST_CHECKED});
                                 }};
    Win32Dialog real{window.handle()};
    testkit::InMemoryDialog memory;

    void clickBoth(int id) {
        ::SendMessageA(::GetDlgItem(window.handle(), id), BM_CLICK, 0, 0);
        memory.click(id);
    }
    void expectSameChecks(std::initializer_list<int> ids) {
        for (int id : ids) EXPECT_EQ(real.isChecked(id), memory.isChecked(id)) << "control " << id;
    }
};

// With both games and none chosen, no radio is checked: only the tab stop
// Velmora gives the first lets the keyboard reach the game radios.
TEST_F(Win32DialogControlsTest, TheFirstGameRadiosTabStopMakesTheGroupReachable) {
    const HWND dialog = window.handle();
    for (int id : {IDC_CFS1, IDC_CFS2, IDC_LAUNCH}) real.enable(id, true);
    auto reachable = [&] {
        const HWND start = ::GetDlgItem(dialog, IDC_LAUNCH);
        for (HWND at = ::GetNextDlgTabItem(dialog, start, FALSE); at && at != start;
             at = ::GetNextDlgTabItem(dialog, at, FALSE))
            if (at == ::GetDlgItem(dialog, IDC_CFS1)) return true;
        return false;
    };
    EXPECT_FALSE(reachable());
    real.setTabStop(IDC_CFS1, true);
    EXPECT_TRUE(reachable());
    memory.setTabStop(IDC_CFS1, true);
    EXPECT_TRUE(memory.hasTabStop(IDC_CFS1));
}

TEST_F(Win32DialogControlsTest, RadioClickLeavesTheHiddenCheckedRadioChecked) {
    for (DialogPort* port : {static_cast<DialogPort*>(&real), static_cast<DialogPort*>(&memory)}) {
        port->enable(IDC_ALLIED, true);
        port->enable(IDC_AXIS, true);
        port->checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, IDC_RESTORE_DPS);
    }
    // The click walks the group the way GetNextDlgGroupItem does, which
    // passes over the hidden, disabled IDC_RESTORE_DPS.
    clickBoth(IDC_ALLIED);
    EXPECT_TRUE(real.isChecked(IDC_ALLIED));
    EXPECT_TRUE(real.isChecked(IDC_RESTORE_DPS));
    EXPECT_EQ(real.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_ALLIED) << "the first checked in id order";
    expectSameChecks({IDC_ALLIED, IDC_AXIS, IDC_RESTORE_DPS});

    clickBoth(IDC_AXIS);
    EXPECT_FALSE(real.isChecked(IDC_ALLIED));
    EXPECT_TRUE(real.isChecked(IDC_AXIS));
    EXPECT_EQ(real.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_AXIS);
    expectSameChecks({IDC_ALLIED, IDC_AXIS, IDC_RESTORE_DPS});

    EXPECT_EQ(reported, (std::vector<Click>{{IDC_ALLIED, true}, {IDC_AXIS, true}}))
        << "a radio is checked before its click is reported";
}

TEST_F(Win32DialogControlsTest, CheckRadioButtonSetsEveryIdOfTheRange) {
    for (DialogPort* port : {static_cast<DialogPort*>(&real), static_cast<DialogPort*>(&memory)}) {
        SCOPED_TRACE(port == &real ? "Win32" : "in memory");
        EXPECT_EQ(port->checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), 0) << "none checked";
        port->setChecked(IDC_ALLIED, true);
        port->setChecked(IDC_RESTORE_DPS, true);
        port->checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, IDC_AXIS);
        EXPECT_FALSE(port->isChecked(IDC_ALLIED));
        EXPECT_FALSE(port->isChecked(IDC_RESTORE_DPS)) << "hidden, yet in the range";
        EXPECT_EQ(port->checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_AXIS);

        // Disabled radios are checked all the same: start-up checks the
        // game's radio before anything enables it.
        port->checkRadio(IDC_CFS1, IDC_CFS2, IDC_CFS2);
        EXPECT_EQ(port->checkedRadio(IDC_CFS1, IDC_CFS2), IDC_CFS2);
        EXPECT_EQ(port->checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_AXIS) << "another range is left alone";
    }
}

TEST_F(Win32DialogControlsTest, CheckBoxFlipsBeforeItsClickIsReported) {
    clickBoth(IDC_COLLISION);
    EXPECT_TRUE(real.isChecked(IDC_COLLISION));
    clickBoth(IDC_COLLISION);
    EXPECT_FALSE(real.isChecked(IDC_COLLISION));
    expectSameChecks({IDC_COLLISION});
    EXPECT_EQ(reported, (std::vector<Click>{{IDC_COLLISION, true}, {IDC_COLLISION, false}}));

    real.setChecked(IDC_FRACT_MIN, true);
    EXPECT_TRUE(real.isChecked(IDC_FRACT_MIN));
    EXPECT_TRUE(reported.size() == 2) << "setting a box reports no click";
}

TEST_F(Win32DialogControlsTest, TextsAndStatesOfFieldsAndButtons) {
    for (DialogPort* port : {static_cast<DialogPort*>(&real), static_cast<DialogPort*>(&memory)}) {
        SCOPED_TRACE(port == &real ? "Win32" : "in memory");
        EXPECT_EQ(port->text(IDCANCEL, 260), "Quit");
        EXPECT_EQ(port->text(IDC_LAUNCH, 260), "");
        port->setText(IDC_LAUNCH, "Launch CFS2");
        EXPECT_EQ(port->text(IDC_LAUNCH, 260), "Launch CFS2");
        port->setText(IDC_ACTIVE_PROGRAM, "CFS2.EXE");
        EXPECT_EQ(port->text(IDC_ACTIVE_PROGRAM, 5), "CFS2");
        EXPECT_EQ(port->text(IDC_ACTIVE_PROGRAM, 1), "");

        EXPECT_FALSE(port->isEnabled(IDOK));
        port->enable(IDOK, true);
        EXPECT_TRUE(port->isEnabled(IDOK));
        port->enable(IDC_COLLISION, false);
        EXPECT_FALSE(port->isEnabled(IDC_COLLISION));
    }
}

}  // namespace
}  // namespace velmora
