// Answers the modal windows a test's own thread opens: when a dialog window
// (a message box, the About box) becomes active, the watcher hands it to the
// test, which reads it and presses one of its buttons, before the modal loop
// waits for the user. No timing is involved: it runs inside the activation.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace velmora::testkit {

class ModalWatcher {
public:
    using Handler = std::function<void(HWND box)>;

    explicit ModalWatcher(Handler handler);
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    // How many modal windows it has handed to the test, each once.
    int seen() const { return static_cast<int>(seen_.size()); }

private:
    static LRESULT CALLBACK watch(int code, WPARAM wParam, LPARAM lParam);

    Handler handler_;
    HHOOK hook_ = nullptr;
    std::vector<HWND> seen_;
};

// A message box as the user sees it.
struct BoxView {
    std::string caption;
    std::string text;
    HICON icon = nullptr;      // the icon shown, null when none
    std::vector<int> buttons;  // the ids of its visible buttons, in window order
    HWND owner = nullptr;
};
BoxView viewBox(HWND box);

// Presses a button of a modal window the way a click does; the window acts
// on it once its own loop runs.
void pressButton(HWND window, int id);

}  // namespace velmora::testkit
