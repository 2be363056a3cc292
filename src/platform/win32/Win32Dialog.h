// The dialog port over a real Win32 dialog window: every operation is the
// controls' own message, so the behaviour the handlers rely on (a sorted
// list's order, an automatic radio's group walk, a drop-down list's text) is
// the system's. Text is narrow, in the system code page, as everywhere in
// Velmora.
//
// Besides the port it owns what only Windows has: the program's icon, the
// painting of the minimised window and the About box (AboutDialog).
#pragma once

#include <windows.h>

#include "platform/DialogPort.h"

namespace velmora {

// Where a minimised window draws its icon in a client area of `client`:
// centred, each half rounded up and divided with signed arithmetic that
// truncates toward zero, so an icon wider than the area starts at 0.
POINT minimizedIconOrigin(SIZE client, SIZE icon);

class Win32Dialog final : public DialogPort {
public:
    explicit Win32Dialog(HWND dialog);

    // The program's icon at the system's standard (large) size.
    const HICON mainIcon;

    // Draws the icon in the client area when the window is minimised; false
    // when it is not, and the system's own painting is due.
    bool onPaint();
    // The icon shown while the minimised window is dragged.
    HICON onQueryDragIcon() const { return mainIcon; }

    void enable(int id, bool enabled) override;
    bool isEnabled(int id) override;
    std::string text(int id, size_t limit) override;
    void setText(int id, std::string_view text) override;
    void checkRadio(int first, int last, int id) override;
    int checkedRadio(int first, int last) override;
    void setChecked(int id, bool checked) override;
    bool isChecked(int id) override;
    void resetList(int id) override;
    int addListEntry(int id, std::string_view text) override;
    int insertListEntry(int id, int index, std::string_view text) override;
    int findListEntry(int id, std::string_view text) override;
    void selectListEntry(int id, int index) override;
    std::vector<std::string> listEntries(int id) override;
    int listSelection(int id) override;
    MessageAnswer messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;
    void showWindow(WindowShow how) override;
    void endDialog(int result) override;
    std::string loadString(int id) override;
    bool appendSystemMenuItem(int commandId, std::string_view text) override;
    void setWindowIcons() override;
    void runAboutBox() override;
    void setTabStop(int id, bool stop) override;

private:
    HWND control(int id) const { return ::GetDlgItem(dialog_, id); }
    bool isDropList(int id) const;
    int listCount(int id) const;

    HWND dialog_;
};

}  // namespace velmora
