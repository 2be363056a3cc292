// Operates the demo's Velmora.exe when there is no display to use it on
// (scripts/demo under Xvfb):
//
//   velmora-demo-driver answer     presses OK on each box Velmora shows, printing
//                                  its text, until the main window takes input;
//                                  exits 1 when it does not within a minute
//   velmora-demo-driver click ID   clicks a control of the main window
//
// and for the pictures of the guide (scripts/screenshots):
//
//   velmora-demo-driver caption        prints the main window's caption
//   velmora-demo-driver box            waits for a box, prints its caption
//   velmora-demo-driver press TEXT     presses the button TEXT ("OK", "No") of
//                                      the open box and waits until it closes
//   velmora-demo-driver pick ID TEXT   selects the entry TEXT of a drop-down list
//   velmora-demo-driver about          opens the About box from the system menu
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

namespace {

// Velmora's main window: the dialog whose caption begins with "Velmora " and
// that no window owns (every box of the program is owned by it).
BOOL CALLBACK findMain(HWND window, LPARAM result) {
            wchar_t name[16] = {}, caption[64] = {};
            ::GetClassNameW(window, name, 16);
            ::GetWindowTextW(window, caption, 64);
            if (std::wcscmp(name, L"#32770") == 0 && std::wcsncmp(caption, L"Velmora ", 8) == 0 &&
                !::GetWindow(window, GW_OWNER))
                *reinterpret_cast<HWND*>(result) = window;
            return TRUE;
}

HWND mainWindow() {
    HWND found = nullptr;
    ::EnumWindows(findMain, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A box Velmora shows: a visible dialog the main window owns.
struct Search {
    HWND owner;
    HWND box = nullptr;
};

BOOL CALLBACK findBox(HWND window, LPARAM found) {
    auto& s = *reinterpret_cast<Search*>(found);
    if (::GetWindow(window, GW_OWNER) == s.owner && ::IsWindowVisible(window)) s.box = window;
    return TRUE;
}

HWND openBox(HWND main) {
    Search search{main};
    ::EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

int answer() {
    for (int waited = 0; waited < 60000; waited += 50) {
        const HWND main = mainWindow();
        if (main) {
            if (const HWND box = openBox(main)) {
                wchar_t text[1024] = {};
                ::SendMessageW(::GetDlgItem(box, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
                std::printf("Velmora says: %ls\n", text);
                ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                while (::IsWindow(box)) ::Sleep(50);
            } else if (::IsWindowVisible(main) && ::IsWindowEnabled(main)) {
                return 0;
            }
        }
        ::Sleep(50);
    }
    return 1;  // ended, or never came up
}

// Waits up to a minute for a box of the main window, and for the main
// window itself while Velmora starts.
HWND waitForBox() {
    for (int waited = 0; waited < 60000; waited += 50) {
        if (const HWND main = mainWindow())
            if (const HWND box = openBox(main)) return box;
        ::Sleep(50);
    }
    return nullptr;
}

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

struct ButtonSearch {
    const wchar_t* text;
    HWND button = nullptr;
};

// A button whose text, without its access key's "&", is the one sought.
BOOL CALLBACK findButton(HWND window, LPARAM found) {
    auto& s = *reinterpret_cast<ButtonSearch*>(found);
    std::wstring text = textOf(window);
    std::erase(text, L'&');
    if (text == s.text) s.button = window;
    return TRUE;
}

int press(HWND main, const wchar_t* text) {
    const HWND box = openBox(main);
    if (!box) return 1;
    ButtonSearch search{text};
    ::EnumChildWindows(box, findButton, reinterpret_cast<LPARAM>(&search));
    if (!search.button) return 1;
    ::PostMessageW(search.button, BM_CLICK, 0, 0);
    for (int waited = 0; ::IsWindow(box) && waited < 30000; waited += 50) ::Sleep(50);
    return ::IsWindow(box) ? 1 : 0;
}

int pick(HWND main, int id, const wchar_t* text) {
    const HWND list = ::GetDlgItem(main, id);
    const LRESULT index = ::SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text));
    if (index == CB_ERR) return 1;
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"answer") == 0) return answer();
    if (argc == 3 && std::wcscmp(argv[1], L"click") == 0) {
        const HWND main = mainWindow();
        if (!main) return 1;
        // From a thread of its own: a handler that opens a box would hold a
        // plain send until the box is closed.
        const HWND control = ::GetDlgItem(main, static_cast<int>(std::wcstol(argv[2], nullptr, 10)));
        static std::atomic<bool> done{false};
        std::thread([control] {
            ::SendMessageW(control, BM_CLICK, 0, 0);
            done = true;
        }).detach();
        for (int waited = 0; !done && !openBox(main) && waited < 30000; waited += 50) ::Sleep(50);
        return 0;
    }
    const HWND main = mainWindow();
    if (argc == 2 && std::wcscmp(argv[1], L"caption") == 0 && main) {
        std::printf("%ls\n", textOf(main).c_str());
        return 0;
    }
    if (argc == 2 && std::wcscmp(argv[1], L"box") == 0) {
        const HWND box = waitForBox();
        if (!box) return 1;
        std::printf("%ls\n", textOf(box).c_str());
        return 0;
    }
    if (argc == 3 && std::wcscmp(argv[1], L"press") == 0 && main) return press(main, argv[2]);
    if (argc == 4 && std::wcscmp(argv[1], L"pick") == 0 && main)
        return pick(main, static_cast<int>(std::wcstol(argv[2], nullptr, 10)), argv[3]);
    if (argc == 2 && std::wcscmp(argv[1], L"about") == 0 && main) {
        ::PostMessageW(main, WM_SYSCOMMAND, 0x0010, 0);  // IDM_ABOUTBOX
        return waitForBox() ? 0 : 1;
    }
    std::fprintf(stderr, "usage: velmora-demo-driver answer | click ID | caption | box | press TEXT | pick ID TEXT"
                         " | about\n");
    return 2;
}
