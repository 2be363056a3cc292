#include "testkit/InMemoryDialog.h"

#include <algorithm>
#include <stdexcept>

#include "base/CodePage1252.h"
#include "core/Text.h"
#include "testkit/ResourceScript.h"

namespace velmora::testkit {

InMemoryDialog::InMemoryDialog(int templateId) {
    size_t group = 0;
    for (const ResourceControl& c : resourceDialog(templateId)) {
        if (c.has("WS_GROUP")) ++group;
        if (c.id == -1) continue;
        controls_.insert_or_assign(c.id, Control{c.has("BS_AUTORADIOBUTTON"), c.has("BS_AUTOCHECKBOX"),
                                                 c.className == "ComboBox", c.has("CBS_SORT"), group, c.text,
                                                 c.enabled(), c.visible(), c.has("WS_TABSTOP")});
    }
}

InMemoryDialog::Control& InMemoryDialog::control(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) throw std::out_of_range("no control " + std::to_string(id));
    return found->second;
}

bool InMemoryDialog::click(int id) {
    Control& clicked = control(id);
    if (!clicked.enabled || !clicked.visible) return false;
    if (clicked.autoRadio) {
        // Windows walks the group with GetNextDlgGroupItem, which passes over
        // hidden and disabled controls: those keep their check.
        clicked.checked = true;
        for (auto& [otherId, other] : controls_)
            if (otherId != id && other.group == clicked.group && other.autoRadio && other.enabled && other.visible)
                other.checked = false;
    } else if (clicked.autoCheckBox) {
        clicked.checked = !clicked.checked;
    }
    if (handler_) handler_(id);
    return true;
}

bool InMemoryDialog::pick(int id, const std::string& text) {
    Control& list = control(id);
    const auto entry = std::find(list.entries.begin(), list.entries.end(), text);
    if (!list.enabled || !list.visible || entry == list.entries.end()) return false;
    list.selection = static_cast<int>(entry - list.entries.begin());
    return true;
}

std::vector<std::string> InMemoryDialog::boxTexts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes_) texts.push_back(box.text);
    return texts;
}

std::string InMemoryDialog::text(int id, size_t limit) {
    const Control& c = control(id);
    if (c.list) {
        const bool selected = c.selection >= 0 && c.selection < static_cast<int>(c.entries.size());
        return selected ? clipToBuffer(c.entries[static_cast<size_t>(c.selection)], limit) : std::string();
    }
    return clipToBuffer(c.text, limit);
}

// A drop-down list has no edit field: its text is its selection, and setting
// a text changes nothing.
void InMemoryDialog::setText(int id, std::string_view text) {
    if (Control& c = control(id); !c.list) c.text = std::string(text);
}

void InMemoryDialog::checkRadio(int first, int last, int id) {
    // CheckRadioButton sets every id of the range, hidden or not.
    for (auto& [otherId, other] : controls_)
        if (otherId >= first && otherId <= last) other.checked = otherId == id;
}

int InMemoryDialog::checkedRadio(int first, int last) {
    for (const auto& [id, c] : controls_)
        if (id >= first && id <= last && c.checked) return id;
    return 0;
}

int InMemoryDialog::addListEntry(int id, std::string_view text) {
    Control& list = control(id);
    size_t at = list.entries.size();
    if (list.sorted) {
        // A sorted list keeps its order without regard to case; an entry goes
        // after the entries equal to it.
        at = 0;
        while (at < list.entries.size() && compareIgnoreCase(list.entries[at], text) <= 0) ++at;
    }
    return insertListEntry(id, static_cast<int>(at), text);
}

int InMemoryDialog::insertListEntry(int id, int index, std::string_view text) {
    Control& list = control(id);
    if (index < 0 || index > static_cast<int>(list.entries.size())) index = static_cast<int>(list.entries.size());
    list.entries.insert(list.entries.begin() + index, std::string(text));
    if (list.selection >= index) ++list.selection;
    return index;
}

int InMemoryDialog::findListEntry(int id, std::string_view text) {
    const Control& list = control(id);
    for (size_t i = 0; i < list.entries.size(); ++i)
        if (equalsIgnoreCase(list.entries[i], text)) return static_cast<int>(i);
    return -1;
}

MessageAnswer InMemoryDialog::messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                         MessageButtons buttons) {
    RecordedBox box{std::string(text), std::string(caption), icon, buttons, MessageAnswer::Ok};
    if (buttons == MessageButtons::YesNo) {
        box.answer = answers_.empty() ? MessageAnswer::No : answers_.front();
        if (!answers_.empty()) answers_.pop_front();
    }
    if (boxWatcher_) boxWatcher_(box);
    boxes_.push_back(box);
    return box.answer;
}

bool InMemoryDialog::appendSystemMenuItem(int commandId, std::string_view text) {
    systemMenu_.emplace_back(0, "-");
    systemMenu_.emplace_back(commandId, std::string(text));
    return true;
}

}  // namespace velmora::testkit
