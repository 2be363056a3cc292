#include "app/DialogLayout.h"

#include "res/resource.h"

namespace velmora {
namespace {

using K = ControlKind;

constexpr ControlLayout kMainControls[] = {
    // id, kind, text, x, y, w, h, enabled, visible, group start, tab stop
    {-1, K::GroupBox, "CFS Version", 12, 8, 104, 28, true, true, false, false},
    {IDC_CFS1, K::AutoRadio, "CFS1", 20, 20, 33, 10, false, true, true, false},
    {IDC_CFS2, K::AutoRadio, "CFS2", 68, 20, 33, 10, false, true, false, false},
    {-1, K::Label, "Mission for multiplayer session", 12, 48, 94, 8, true, true, true, false},
    {IDC_MISSION, K::SortedDropList, "", 12, 56, 104, 124, false, true, false, true},
    {-1, K::GroupBox, "Select your allegiance", 12, 84, 104, 44, true, true, false, false},
    {IDC_ALLIED, K::AutoRadio, "Allied (US/Britain)", 20, 96, 71, 10, false, true, true, false},
    {IDC_AXIS, K::AutoRadio, "Axis (Japan/Germany)", 20, 112, 85, 10, false, true, false, false},
    {IDC_RESTORE_DPS, K::AutoRadio, "Restore DP's", 12, 36, 57, 10, false, false, false, false},
    {IDOK, K::PushButton, "Swap", 12, 140, 48, 12, false, true, false, true},
    {IDC_RESTORE, K::PushButton, "Restore", 68, 140, 48, 12, false, true, false, true},
    {IDC_RUN_SELECT, K::PushButton, "Run TWK Select", 136, 28, 104, 12, false, true, false, true},
    {IDCANCEL, K::PushButton, "Quit", 104, 172, 48, 12, true, true, false, true},
    {IDC_DUMMY, K::PushButton, "dummy", 84, 36, 32, 10, false, false, false, true},
    {IDC_LAUNCH, K::PushButton, "", 136, 108, 104, 12, false, true, false, true},
    {IDC_ACTIVE_PROGRAM, K::ReadOnlyEdit, "", 192, 12, 48, 12, true, true, false, true},
    {-1, K::Label, "Active program:", 136, 12, 52, 12, true, true, true, false},
    {IDC_COLLISION, K::AutoCheckBox, "COLLISION_SECS=0", 144, 68, 84, 10, true, true, false, true},
    {-1, K::GroupBox, "Config settings", 136, 52, 104, 44, true, true, false, false},
    {-1, K::Label, "Your IP address", 136, 132, 51, 8, true, true, true, false},
    {IDC_IP_ADDRESS, K::DropList, "", 136, 140, 104, 64, true, true, false, true},
    {IDC_FRACT_MIN, K::AutoCheckBox, "DISP_FRACT_MIN=0", 144, 80, 85, 10, true, true, false, true},
};

constexpr ControlLayout kAboutControls[] = {
    {-1, K::Icon, "", 12, 12, 20, 20, true, true, false, false},
    {IDC_ABOUT_VERSION, K::Label, VELMORA_ABOUT_VERSION, 40, 10, 68, 8, true, true, false, false},
    {IDC_ABOUT_CREDIT, K::Label, "For CFS1 and CFS2 sessions", 40, 24, 115, 8, true, true, false, false},
    {IDC_ABOUT_RIGHTS, K::Label, "Free software", 40, 40, 64, 8, true, true, false, false},
    {IDOK, K::DefaultPushButton, "OK", 60, 60, 50, 14, true, true, true, true},
};

const DialogLayout kMain{IDD_MAIN, kMainCaption, 256, 193, kMainControls};
const DialogLayout kAbout{IDD_ABOUTBOX, "About Velmora", 172, 85, kAboutControls};

}  // namespace

const DialogLayout& mainDialogLayout() { return kMain; }
const DialogLayout& aboutDialogLayout() { return kAbout; }

}  // namespace velmora
