#include "platform/win32/Win32Dialog.h"

#include <climits>
#include <cstring>

#include "platform/win32/AboutDialog.h"
#include "res/resource.h"

namespace velmora {
namespace {

HINSTANCE programInstance() { return ::GetModuleHandleA(nullptr); }

int clampToInt(size_t n) { return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n); }

// The text up to its terminator. Lengths that the controls report are not
// trusted: a narrow read of a Unicode control may count the terminator, or
// count in the wrong unit, when the text was cut to the buffer.
std::string untilTerminator(const std::string& buffer) {
    return std::string(buffer.c_str(), ::strnlen(buffer.c_str(), buffer.size()));
}

}  // namespace

POINT minimizedIconOrigin(SIZE client, SIZE icon) {
    return POINT{(client.cx - icon.cx + 1) / 2, (client.cy - icon.cy + 1) / 2};
}

Win32Dialog::Win32Dialog(HWND dialog)
    : mainIcon(::LoadIconA(programInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME))), dialog_(dialog) {}

bool Win32Dialog::onPaint() {
    if (!::IsIconic(dialog_)) return false;
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(dialog_, &paint);
    ::SendMessageA(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(dialog_, &client);
    const POINT at = minimizedIconOrigin(SIZE{client.right - client.left, client.bottom - client.top},
                                         SIZE{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)});
    ::DrawIcon(dc, at.x, at.y, mainIcon);
    ::EndPaint(dialog_, &paint);
    return true;
}

void Win32Dialog::enable(int id, bool enabled) { ::EnableWindow(control(id), enabled ? TRUE : FALSE); }

void Win32Dialog::setTabStop(int id, bool stop) {
    const HWND window = control(id);
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    ::SetWindowLongPtrA(window, GWL_STYLE, stop ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

bool Win32Dialog::isEnabled(int id) {
    const HWND window = control(id);
    return window && ::IsWindowEnabled(window);
}

bool Win32Dialog::isDropList(int id) const {
    char className[16] = {};
    return ::GetClassNameA(control(id), className, sizeof className) > 0 && ::lstrcmpiA(className, "ComboBox") == 0;
}

std::string Win32Dialog::text(int id, size_t limit) {
    // A drop-down list answers WM_GETTEXT with its selected entry, "" when
    // none is selected.
    if (limit == 0) return {};
    std::string buffer(limit, '\0');
    ::GetDlgItemTextA(dialog_, id, buffer.data(), clampToInt(limit));
    return untilTerminator(buffer);
}

void Win32Dialog::setText(int id, std::string_view text) {
    // A drop-down list has no edit field to take a text: it keeps its
    // selection, as the in-memory dialog does.
    if (isDropList(id)) return;
    ::SetDlgItemTextA(dialog_, id, std::string(text).c_str());
}

void Win32Dialog::checkRadio(int first, int last, int id) {
    // Sets every control of the range, the hidden ones too.
    ::CheckRadioButton(dialog_, first, last, id);
}

int Win32Dialog::checkedRadio(int first, int last) {
    for (int id = first; id <= last; ++id)
        if (::IsDlgButtonChecked(dialog_, id) == BST_CHECKED) return id;
    return 0;
}

void Win32Dialog::setChecked(int id, bool checked) {
    ::CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32Dialog::isChecked(int id) { return ::IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void Win32Dialog::resetList(int id) { ::SendDlgItemMessageA(dialog_, id, CB_RESETCONTENT, 0, 0); }

int Win32Dialog::addListEntry(int id, std::string_view text) {
    const std::string entry(text);
    return static_cast<int>(
        ::SendDlgItemMessageA(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str())));
}

int Win32Dialog::listCount(int id) const {
    const LRESULT count = ::SendDlgItemMessageA(dialog_, id, CB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

int Win32Dialog::insertListEntry(int id, int index, std::string_view text) {
    // CB_INSERTSTRING refuses an index past the end; -1 appends, which is
    // what the port promises for any index out of range.
    if (index < 0 || index > listCount(id)) index = -1;
    const std::string entry(text);
    return static_cast<int>(::SendDlgItemMessageA(dialog_, id, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                                  reinterpret_cast<LPARAM>(entry.c_str())));
}

int Win32Dialog::findListEntry(int id, std::string_view text) {
    const std::string entry(text);
    const LRESULT found = ::SendDlgItemMessageA(dialog_, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(entry.c_str()));
    return found == CB_ERR ? -1 : static_cast<int>(found);
}

void Win32Dialog::selectListEntry(int id, int index) {
    if (index < 0 || index >= listCount(id)) index = -1;
    ::SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::vector<std::string> Win32Dialog::listEntries(int id) {
    std::vector<std::string> entries;
    const int count = listCount(id);
    for (int i = 0; i < count; ++i) {
        const LRESULT length = ::SendDlgItemMessageA(dialog_, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string buffer(length < 0 ? 1 : static_cast<size_t>(length) + 1, '\0');
        ::SendDlgItemMessageA(dialog_, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                              reinterpret_cast<LPARAM>(buffer.data()));
        entries.push_back(untilTerminator(buffer));
    }
    return entries;
}

int Win32Dialog::listSelection(int id) {
    const LRESULT selection = ::SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0);
    return selection < 0 ? -1 : static_cast<int>(selection);
}

MessageAnswer Win32Dialog::messageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                                      MessageButtons buttons) {
    UINT style = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    if (icon == MessageIcon::Error) style |= MB_ICONERROR;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    if (icon == MessageIcon::Warning) style |= MB_ICONWARNING;
    const int answer =
        ::MessageBoxA(dialog_, std::string(text).c_str(), std::string(caption).c_str(), style);
    // Only No holds a Yes/No question back; a box that could not be shown
    // reads as OK.
    if (answer == IDYES) return MessageAnswer::Yes;
    if (answer == IDNO) return MessageAnswer::No;
    return MessageAnswer::Ok;
}

void Win32Dialog::showWindow(WindowShow how) {
    const int command = how == WindowShow::Hide ? SW_HIDE : how == WindowShow::Minimize ? SW_MINIMIZE : SW_SHOW;
    ::ShowWindow(dialog_, command);
}

void Win32Dialog::endDialog(int result) { ::EndDialog(dialog_, result); }

std::string Win32Dialog::loadString(int id) {
    char buffer[256];
    const int length = ::LoadStringA(programInstance(), static_cast<UINT>(id), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

bool Win32Dialog::appendSystemMenuItem(int commandId, std::string_view text) {
    const HMENU menu = ::GetSystemMenu(dialog_, FALSE);
    if (!menu) return false;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(commandId), std::string(text).c_str());
    return true;
}

void Win32Dialog::setWindowIcons() {
    ::SendMessageA(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
    ::SendMessageA(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mainIcon));
}

void Win32Dialog::runAboutBox() { AboutDialog().DoModal(dialog_); }

}  // namespace velmora
