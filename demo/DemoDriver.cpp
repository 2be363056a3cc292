// Operates the demo's Velmora.exe when there is no display to use it on
// (scripts/demo under Xvfb):
//
//   velmora-demo-driver answer     presses OK on each box Velmora shows, printing
//                                  its text, until the main window takes input;
//                                  exits 1 when it does not within a minute
//   velmora-demo-driver click ID   clicks a control of the main window
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
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
    std::fprintf(stderr, "usage: velmora-demo-driver answer | click ID\n");
    return 2;
}
