// The dialog port: the one way Velmora's logic reaches the main dialog's
// controls and shows message boxes.
//
// Controls are named by id. The Win32 port sends the controls' own messages;
// the in-memory dialog of the tests behaves as those controls do, so a test
// of a handler is a test of what the user sees. Handlers keep no copy of
// control state: they ask the port whenever they run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class MessageIcon { None, Error, Information, Warning };
enum class MessageButtons { Ok, YesNo };
// The button that closed a message box, with the Win32 values.
enum class MessageAnswer { Ok = 1, Yes = 6, No = 7 };

enum class WindowShow { Hide, Show, Minimize };

class DialogPort {
public:
    virtual ~DialogPort() = default;

    virtual void enable(int id, bool enabled) = 0;
    virtual bool isEnabled(int id) = 0;
    // Whether Tab stops at the control. (A radio button that is checked
    // takes its group's stop itself.)
    virtual void setTabStop(int id, bool stop) = 0;

    // The control's text, at most `limit - 1` bytes. For a drop-down list:
    // the selected entry, or "" when none is selected.
    virtual std::string text(int id, size_t limit) = 0;
    // A drop-down list has no edit field, so its text is its selection:
    // setting a text changes nothing there (the list is rebuilt after it).
    virtual void setText(int id, std::string_view text) = 0;

    // Checks `id` and unchecks every other button whose id lies in first..last.
    virtual void checkRadio(int first, int last, int id) = 0;
    // The first checked button in first..last in id order, 0 when none is.
    virtual int checkedRadio(int first, int last) = 0;
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool isChecked(int id) = 0;

    // Drop-down lists.
    virtual void resetList(int id) = 0;
    // Adds at the sorted place in a sorted list, at the end otherwise; returns the index.
    virtual int addListEntry(int id, std::string_view text) = 0;
    virtual int insertListEntry(int id, int index, std::string_view text) = 0;
    // The first entry equal to `text` without regard to case, -1 when none.
    virtual int findListEntry(int id, std::string_view text) = 0;
    // Selects entry `index`; an index out of range clears the selection.
    virtual void selectListEntry(int id, int index) = 0;
    virtual std::vector<std::string> listEntries(int id) = 0;
    virtual int listSelection(int id) = 0;

    // A modal box owned by the dialog. `caption` is shown as given: pass
    // kAppTitle where a box has no caption of its own.
    virtual MessageAnswer messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                     MessageButtons buttons) = 0;

    virtual void showWindow(WindowShow how) = 0;
    // Ends the dialog with `result`; the program ends with it.
    virtual void endDialog(int result) = 0;

    // The window itself.
    // The text of string resource `id`, "" when there is none.
    virtual std::string loadString(int id) = 0;
    // Appends a separator and then the item `text` with `commandId` to the
    // window's system menu; false when the window has none.
    virtual bool appendSystemMenuItem(int commandId, std::string_view text) = 0;
    // Sets the window's big and then its small icon to the program's icon.
    virtual void setWindowIcons() = 0;
    // Runs the About box modally; returns when it is closed.
    virtual void runAboutBox() = 0;
};

}  // namespace velmora
