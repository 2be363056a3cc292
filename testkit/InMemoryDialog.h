// The in-memory dialog: a DialogPort that behaves as the Win32 controls of
// the main dialog do, for tests of the handlers. It is built from the
// dialog's template in Velmora.rc, so its controls, kinds, groups and initial
// states are those Windows makes. Message boxes are recorded and answered
// from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogPort.h"
#include "res/resource.h"
#include "testkit/ResourceScript.h"

namespace velmora::testkit {

struct RecordedBox {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
    MessageAnswer answer;
};

class InMemoryDialog final : public DialogPort {
public:
    explicit InMemoryDialog(int templateId = IDD_MAIN);

    // What a click on control `id` reaches: the dialog's command routing.
    void onCommand(std::function<void(int id)> handler) { handler_ = std::move(handler); }
    // A user's click: ignored (false) on a hidden or disabled control. Does
    // what Windows does before the dialog hears of it (an automatic radio
    // checks itself and unchecks the visible, enabled radios of its group; a
    // check box flips), then hands the id to the command handler.
    bool click(int id);
    // A user's pick of the entry `text` of a drop-down list (no command is sent).
    bool pick(int id, const std::string& text);

    // The answers to the next Yes/No questions, in order. A question with no
    // answer left is answered No.
    void answer(MessageAnswer answer) { answers_.push_back(answer); }
    // Called whenever a box is shown, before it is answered.
    void onMessageBox(std::function<void(const RecordedBox&)> watcher) { boxWatcher_ = std::move(watcher); }

    const std::vector<RecordedBox>& boxes() const { return boxes_; }
    std::vector<std::string> boxTexts() const;
    void clearBoxes() { boxes_.clear(); }

    std::optional<int> endResult() const { return endResult_; }
    std::optional<WindowShow> windowState() const { return windowState_; }

    // DialogPort
    void enable(int id, bool enabled) override { control(id).enabled = enabled; }
    bool isEnabled(int id) override { return control(id).enabled; }
    std::string text(int id, size_t limit) override;
    void setText(int id, std::string_view text) override;
    void checkRadio(int first, int last, int id) override;
    int checkedRadio(int first, int last) override;
    void setChecked(int id, bool checked) override { control(id).checked = checked; }
    bool isChecked(int id) override { return control(id).checked; }
    void resetList(int id) override { control(id).entries.clear(); control(id).selection = -1; }
    int addListEntry(int id, std::string_view text) override;
    int insertListEntry(int id, int index, std::string_view text) override;
    int findListEntry(int id, std::string_view text) override;
    void selectListEntry(int id, int index) override {
        control(id).selection = index >= 0 && index < static_cast<int>(control(id).entries.size()) ? index : -1;
    }
    std::vector<std::string> listEntries(int id) override { return control(id).entries; }
    int listSelection(int id) override { return control(id).selection; }
    MessageAnswer messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;
    void showWindow(WindowShow how) override { windowState_ = how; }
    void endDialog(int result) override { endResult_ = result; }
    std::string loadString(int id) override { return resourceString(id); }
    bool appendSystemMenuItem(int commandId, std::string_view text) override;
    void setWindowIcons() override { ++iconSets_; }
    void runAboutBox() override { ++aboutBoxes_; }
    void setTabStop(int id, bool stop) override { control(id).tabStop = stop; }
    bool hasTabStop(int id) const { return control(id).tabStop; }

    // The window's system menu items appended so far (a separator reads "-").
    const std::vector<std::pair<int, std::string>>& systemMenu() const { return systemMenu_; }
    int iconSets() const { return iconSets_; }
    int aboutBoxes() const { return aboutBoxes_; }

private:
    struct Control {
        bool autoRadio, autoCheckBox, list, sorted;
        size_t group;  // index of the group it belongs to
        std::string text;
        bool enabled, visible, tabStop, checked = false;
        std::vector<std::string> entries = {};
        int selection = -1;
    };
    Control& control(int id);
    const Control& control(int id) const { return const_cast<InMemoryDialog*>(this)->control(id); }

    std::map<int, Control> controls_;
    std::function<void(int)> handler_;
    std::deque<MessageAnswer> answers_;
    std::function<void(const RecordedBox&)> boxWatcher_;
    std::vector<RecordedBox> boxes_;
    std::optional<int> endResult_;
    std::optional<WindowShow> windowState_;
    std::vector<std::pair<int, std::string>> systemMenu_;
    int iconSets_ = 0, aboutBoxes_ = 0;
};

}  // namespace velmora::testkit
