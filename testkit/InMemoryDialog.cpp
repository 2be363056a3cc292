#include "testkit/InMemoryDialog.h"

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
        Control& control = controls_[c.id];
        control.autoRadio = c.has("BS_AUTORADIOBUTTON");
        control.autoCheckBox = c.has("BS_AUTOCHECKBOX");
        control.list = c.className == "ComboBox";
        control.sorted = c.has("CBS_SORT");
        control.group = group;
        control.text = c.text;
        control.enabled = c.enabled();
        control.visible = c.visible();
        control.tabStop = c.has("WS_TABSTOP");
    }
}

InMemoryDialog::Control& InMemoryDialog::control(int id) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) throw std::out_of_range("no control " + std::to_string(id));
    return found->second;
}

const InMemoryDialog::Control& InMemoryDialog::control(int id) const {
    return const_cast<InMemoryDialog*>(this)->control(id);
}

bool InMemoryDialog::click(int id) {
    Control& clicked = control(id);
    if (!clicked.enabled || !clicked.visible) return false;
    if (clicked.autoRadio) {
        // Windows walks the group with GetNextDlgGroupItem, which passes over
        // hidden and disabled controls: those keep their check.
        clicked.checked = true;
        for (auto& [otherId, other] : controls_)
            if (otherId != id && other.group == clicked.group && other.autoRadio &&
                other.enabled && other.visible)
                other.checked = false;
    } else if (clicked.autoCheckBox) {
        clicked.checked = !clicked.checked;
    }
    if (handler_) handler_(id);
    return true;
}

bool InMemoryDialog::pick(int id, int index) {
    Control& list = control(id);
    if (!list.enabled || !list.visible || index < 0 || index >= static_cast<int>(list.entries.size())) return false;
    list.selection = index;
    return true;
}

bool InMemoryDialog::pick(int id, const std::string& text) {
    const std::vector<std::string>& entries = control(id).entries;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text) return pick(id, static_cast<int>(i));
    return false;
}

std::vector<std::string> InMemoryDialog::boxTexts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& box : boxes_) texts.push_back(box.text);
    return texts;
}

void InMemoryDialog::enable(int id, bool enabled) { control(id).enabled = enabled; }
bool InMemoryDialog::isEnabled(int id) { return control(id).enabled; }

std::string InMemoryDialog::text(int id, size_t limit) {
    const Control& c = control(id);
    if (c.list) {
        const bool selected = c.selection >= 0 && c.selection < static_cast<int>(c.entries.size());
        return selected ? clipToBuffer(c.entries[static_cast<size_t>(c.selection)], limit) : std::string();
    }
    return clipToBuffer(c.text, limit);
}

void InMemoryDialog::setText(int id, std::string_view text) {
    Control& c = control(id);
    // A drop-down list has no edit field: its text is its selection, and
    // setting a text changes nothing.
    if (c.list) return;
    c.text = std::string(text);
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

void InMemoryDialog::setChecked(int id, bool checked) { control(id).checked = checked; }
bool InMemoryDialog::isChecked(int id) { return control(id).checked; }

void InMemoryDialog::resetList(int id) {
    Control& list = control(id);
    list.entries.clear();
    list.selection = -1;
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

void InMemoryDialog::selectListEntry(int id, int index) {
    Control& list = control(id);
    list.selection = index >= 0 && index < static_cast<int>(list.entries.size()) ? index : -1;
}

std::vector<std::string> InMemoryDialog::listEntries(int id) { return control(id).entries; }
int InMemoryDialog::listSelection(int id) { return control(id).selection; }

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

void InMemoryDialog::showWindow(WindowShow how) {
    windowState_ = how;
}

void InMemoryDialog::endDialog(int result) { endResult_ = result; }

std::string InMemoryDialog::loadString(int id) { return resourceString(id); }

bool InMemoryDialog::appendSystemMenuItem(int commandId, std::string_view text) {
    systemMenu_.emplace_back(0, "-");
    systemMenu_.emplace_back(commandId, std::string(text));
    return true;
}

}  // namespace velmora::testkit
