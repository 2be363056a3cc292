// The main dialog's and the About box's controls: ids, kinds, texts,
// positions in dialog units, initial states, groups and tab stops, in
// template order (which is also the tab order). The resource script holds the
// same templates for Windows; a test of the Windows tier checks that the two
// agree, and the in-memory dialog of the tests is built from this table.
#pragma once

#include <span>

#include "Version.h"

namespace velmora {

enum class ControlKind {
    GroupBox,
    Label,
    AutoRadio,
    AutoCheckBox,
    PushButton,
    DefaultPushButton,
    SortedDropList,
    DropList,
    ReadOnlyEdit,
    Icon,
};

struct ControlLayout {
    int id;  // -1 for the static decoration
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    bool enabled;
    bool visible;
    bool groupStart;
    bool tabStop;
};

struct DialogLayout {
    int id;
    const char* caption;
    int width, height;
    std::span<const ControlLayout> controls;
};

const DialogLayout& mainDialogLayout();
const DialogLayout& aboutDialogLayout();

inline constexpr const char* kMainCaption = VELMORA_CAPTION;
inline constexpr const char* kAboutMenuText = "&About Velmora...";

}  // namespace velmora
