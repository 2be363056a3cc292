// vdrive: operates a running Velmora.exe by control id, for the end-to-end
// scenarios. Each call does one thing and prints one JSON line (several for
// `read`); it exits 0 on success, 1 on failure with {"error": ...}, 2 on a
// usage error.
//
//   main [--wait]                  the main window; --wait until it is shown
//   settle                         until the program waits for the user: in its main window
//                                  ({"state":"ready","main":...}) or in a window the main
//                                  window owns ({"state":"modal","window":...})
//   window [--caption C] [--wait]  a window the main window owns (message box, About box)
//   read ID... | read all          the state of the main window's controls
//   click ID                       a click on a control of the main window
//   pick ID TEXT                   a pick of the entry TEXT (whole, any case) of a drop-down list
//   press BUTTON [--caption C]     a click on a button, by id or text, of an owned window
//   key escape|enter|tab [--caption C]  a key press on the main window, or on an owned window
//   syscommand about|close|minimize|restore|N   a system-menu command
//   close [--caption C]            the close box of an owned window, or of the main window
//   wait-gone [--caption C]        until that window no longer exists
//   wait-exit PID                  until the process ends; gives its exit code
//   error-text CODE                the system's text for an error code, as a program's box shows it
//
// Options: --timeout SECONDS (20): how long a wait may last before it fails.
//
// A click is sent from a helper thread: when it makes the program open a
// modal window, the sender stays blocked until that window closes, so the
// driver reports the click as "modal" as soon as such a window shows.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "Json.h"
#include "Target.h"

namespace vdrive {
namespace {

constexpr UINT kAboutCommand = 0x0010;

struct Arguments {
    std::vector<std::wstring> words;
    std::wstring caption;
    bool hasCaption = false;
    bool wait = false;
    DWORD timeoutMs = 20000;
    const std::wstring* captionOrNull() const { return hasCaption ? &caption : nullptr; }
};

int fail(const std::string& why) {
    std::printf("%s\n", JsonObject().add("error", wide(why)).str().c_str());
    return 1;
}

int print(const std::string& json) {
    std::printf("%s\n", json.c_str());
    return 0;
}

bool parseNumber(const std::wstring& text, long long& value) {
    wchar_t* end = nullptr;
    value = std::wcstoll(text.c_str(), &end, 0);
    return !text.empty() && end && *end == L'\0';
}

bool usable(HWND window) { return ::IsWindowVisible(window) && ::IsWindowEnabled(window); }

struct Delivery {
    HWND target;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

DWORD WINAPI sendDelivery(LPVOID parameter) {
    const auto& d = *static_cast<Delivery*>(parameter);
    ::SendMessageW(d.target, d.message, d.wParam, d.lParam);
    return 0;
}

// Sends a message to the program from a helper thread and reports what
// came of it: "done" (handled), "modal" (a window the main window owns is
// showing, the handler waits in it) or "closed" (the main window is gone).
// Empty when none of these happened in time.
std::string deliver(HWND main, Delivery delivery, DWORD timeoutMs) {
    const HANDLE thread = ::CreateThread(nullptr, 0, sendDelivery, &delivery, 0, nullptr);
    if (!thread) return {};
    std::string outcome;
    waitUntil(
        [&] {
            if (!::IsWindow(main)) outcome = "closed";
            else if (::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) outcome = "done";
            else if (modalWindow(nullptr)) outcome = "modal";
            return !outcome.empty();
        },
        timeoutMs);
    // A thread still blocked in its send ends with the driver.
    ::CloseHandle(thread);
    return outcome;
}

HWND usableMain(std::string& why) {
    const HWND main = mainWindow();
    if (!main) why = "no main window";
    else if (!::IsWindowEnabled(main)) why = "the main window takes no input (a modal window is open)";
    return why.empty() ? main : nullptr;
}

int commandMain(const Arguments& a) {
    HWND main = nullptr;
    if (!waitUntil([&] { return (main = mainWindow()) && (!a.wait || ::IsWindowVisible(main)); },
                   a.wait ? a.timeoutMs : 0))
        return fail("no main window");
    return print(describeWindow(main));
}

int commandSettle(const Arguments& a) {
    HWND main = nullptr;
    HWND owned = nullptr;
    // A box raised during start-up is owned by the main window before that
    // window is shown.
    const bool settled = waitUntil(
        [&] {
            main = mainWindow();
            if (!main) return false;
            owned = modalWindow(nullptr);
            return owned || (::IsWindowVisible(main) && ::IsWindowEnabled(main));
        },
        a.timeoutMs);
    if (!settled) return fail(main ? "the main window neither shows nor owns a window" : "no main window");
    if (owned) return print(JsonObject().add("state", L"modal").addRaw("window", describeWindow(owned)).str());
    return print(JsonObject().add("state", L"ready").addRaw("main", describeWindow(main)).str());
}

int commandWindow(const Arguments& a) {
    HWND window = nullptr;
    if (!waitUntil([&] { return (window = modalWindow(a.captionOrNull())) != nullptr; }, a.wait ? a.timeoutMs : 0))
        return fail("no such window");
    return print(describeWindow(window));
}

int commandRead(const Arguments& a) {
    const HWND main = mainWindow();
    if (!main) return fail("no main window");
    if (a.words.size() == 2 && a.words[1] == L"all") {
        for (HWND child = ::GetWindow(main, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            print(describeControl(child));
        return 0;
    }
    std::vector<HWND> controls;
    for (size_t i = 1; i < a.words.size(); ++i) {
        long long id = 0;
        if (!parseNumber(a.words[i], id)) return fail("not a control id: " + utf8(a.words[i]));
        const HWND control = ::GetDlgItem(main, static_cast<int>(id));
        if (!control) return fail("no control " + std::to_string(id));
        controls.push_back(control);
    }
    for (HWND control : controls) print(describeControl(control));
    return 0;
}

int commandClick(const Arguments& a) {
    long long id = 0;
    if (a.words.size() != 2 || !parseNumber(a.words[1], id)) return fail("usage: click ID");
    std::string why;
    const HWND main = usableMain(why);
    if (!main) return fail(why);
    const HWND control = ::GetDlgItem(main, static_cast<int>(id));
    if (!control) return fail("no control " + std::to_string(id));
    // A user cannot click what is hidden or disabled.
    if (!hasStyle(control, WS_VISIBLE)) return fail("control " + std::to_string(id) + " is hidden");
    if (hasStyle(control, WS_DISABLED)) return fail("control " + std::to_string(id) + " is disabled");
    const std::string outcome = deliver(main, {control, BM_CLICK, 0, 0}, a.timeoutMs);
    if (outcome.empty()) return fail("the click was not handled in time");
    return print(JsonObject().add("clicked", static_cast<int>(id)).add("outcome", wide(outcome)).str());
}

int commandPick(const Arguments& a) {
    long long id = 0;
    if (a.words.size() != 3 || !parseNumber(a.words[1], id)) return fail("usage: pick ID TEXT");
    std::string why;
    const HWND main = usableMain(why);
    if (!main) return fail(why);
    const HWND list = ::GetDlgItem(main, static_cast<int>(id));
    if (!list || !hasStyle(list, WS_VISIBLE) || hasStyle(list, WS_DISABLED))
        return fail("list " + std::to_string(id) + " is missing, hidden or disabled");
    // The whole entry: CB_SELECTSTRING would take the first entry that
    // merely begins with the text.
    DWORD_PTR index = 0;
    if (!::SendMessageTimeoutW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(a.words[2].c_str()), SMTO_NORMAL, a.timeoutMs, &index))
        return fail("the list did not answer");
    if (static_cast<LRESULT>(index) == CB_ERR) return fail("no entry " + utf8(a.words[2]));
    if (!::SendMessageTimeoutW(list, CB_SETCURSEL, index, 0, SMTO_NORMAL, a.timeoutMs, nullptr))
        return fail("the list did not answer");
    const WPARAM notification = MAKEWPARAM(static_cast<WORD>(id), CBN_SELCHANGE);
    const std::string outcome =
        deliver(main, {main, WM_COMMAND, notification, reinterpret_cast<LPARAM>(list)}, a.timeoutMs);
    return print(JsonObject()
                     .add("picked", static_cast<int>(id))
                     .add("index", static_cast<long long>(index))
                     .add("outcome", wide(outcome))
                     .str());
}

std::wstring withoutAccessKeys(const std::wstring& text) {
    std::wstring plain;
    for (wchar_t c : text)
        if (c != L'&') plain += c;
    return plain;
}

int commandPress(const Arguments& a) {
    if (a.words.size() != 2) return fail("usage: press BUTTON");
    const HWND window = modalWindow(a.captionOrNull());
    if (!window) return fail("no such window");
    long long id = 0;
    HWND button = nullptr;
    if (parseNumber(a.words[1], id)) {
        button = ::GetDlgItem(window, static_cast<int>(id));
    } else {
        for (HWND child = ::GetWindow(window, GW_CHILD); child && !button; child = ::GetWindow(child, GW_HWNDNEXT))
            if (_wcsicmp(withoutAccessKeys(textOf(child)).c_str(), withoutAccessKeys(a.words[1]).c_str()) == 0)
                button = child;
    }
    if (!button || !usable(button)) return fail("no usable button " + utf8(a.words[1]));
    const int buttonId = ::GetDlgCtrlID(button);
    const std::wstring label = textOf(button);
    deliver(mainWindow(), {button, BM_CLICK, 0, 0}, a.timeoutMs);
    if (!waitUntil([&] { return !::IsWindow(window); }, a.timeoutMs)) return fail("the window stayed open");
    return print(JsonObject().add("pressed", buttonId).add("text", label).str());
}

int commandKey(const Arguments& a) {
    if (a.words.size() != 2) return fail("usage: key escape|enter|tab");
    const std::wstring& name = a.words[1];
    const WPARAM key = name == L"escape" ? VK_ESCAPE : name == L"enter" ? VK_RETURN : name == L"tab" ? VK_TAB : 0;
    if (!key) return fail("unknown key " + utf8(name));
    std::string why;
    const HWND window = a.hasCaption ? modalWindow(&a.caption) : usableMain(why);
    if (!window) return fail(why.empty() ? "no such window" : why);
    // The dialog's loop reads keys from its queue (IsDialogMessage), so the
    // key is posted, to the control that has the focus.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    HWND target = window;
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus &&
        ::IsChild(window, thread.hwndFocus))
        target = thread.hwndFocus;
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    return print(JsonObject().add("key", name).str());
}

int commandSysCommand(const Arguments& a) {
    if (a.words.size() != 2) return fail("usage: syscommand about|close|minimize|restore|N");
    const std::wstring& name = a.words[1];
    long long command = 0;
    if (name == L"about") command = kAboutCommand;
    else if (name == L"close") command = SC_CLOSE;
    else if (name == L"minimize") command = SC_MINIMIZE;
    else if (name == L"restore") command = SC_RESTORE;
    else if (!parseNumber(name, command)) return fail("unknown system command " + utf8(name));
    std::string why;
    const HWND main = usableMain(why);
    if (!main) return fail(why);
    const std::string outcome =
        deliver(main, {main, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0}, a.timeoutMs);
    if (outcome.empty()) return fail("the command was not handled in time");
    return print(JsonObject().add("syscommand", static_cast<long long>(command)).add("outcome", wide(outcome)).str());
}

HWND ownedOrMain(const Arguments& a) { return a.hasCaption ? modalWindow(&a.caption) : mainWindow(); }

int commandClose(const Arguments& a) {
    const HWND window = ownedOrMain(a);
    if (!window) return fail("no such window");
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return print(JsonObject().add("closed", textOf(window)).str());
}

int commandWaitGone(const Arguments& a) {
    if (!waitUntil([&] { return ownedOrMain(a) == nullptr; }, a.timeoutMs)) return fail("the window is still there");
    return print(JsonObject().add("gone", true).str());
}

int commandWaitExit(const Arguments& a) {
    long long pid = 0;
    if (a.words.size() != 2 || !parseNumber(a.words[1], pid)) return fail("usage: wait-exit PID");
    const HANDLE process =
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return print(JsonObject().add("exited", true).addRaw("code", "null").str());
    const bool exited = ::WaitForSingleObject(process, a.timeoutMs) == WAIT_OBJECT_0;
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    if (!exited) return fail("the process is still running");
    return print(JsonObject().add("exited", true).add("code", static_cast<long long>(code)).str());
}

// The text FormatMessage gives for a system error code, so that a scenario
// can compare a box that shows the system's words without spelling out one
// system's wording.
int commandErrorText(const Arguments& a) {
    long long code = 0;
    if (a.words.size() != 2 || !parseNumber(a.words[1], code) || code < 0) return fail("usage: error-text CODE");
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::wstring message = length > 0 && text ? std::wstring(text, length) : std::wstring();
    if (text) ::LocalFree(text);
    if (message.empty()) return fail("the system has no text for " + std::to_string(code));
    return print(JsonObject().add("code", code).add("text", message).str());
}

bool parse(int argc, wchar_t** argv, Arguments& a) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring word = argv[i];
        if (word == L"--caption" && i + 1 < argc) {
            a.caption = argv[++i];
            a.hasCaption = true;
        } else if (word == L"--timeout" && i + 1 < argc) {
            long long seconds = 0;
            if (!parseNumber(argv[++i], seconds) || seconds < 0) return false;
            a.timeoutMs = static_cast<DWORD>(seconds * 1000);
        } else if (word == L"--wait") {
            a.wait = true;
        } else {
            a.words.push_back(word);
        }
    }
    return !a.words.empty();
}

int run(int argc, wchar_t** argv) {
    Arguments a;
    if (!parse(argc, argv, a)) {
        std::fprintf(stderr, "usage: vdrive COMMAND [ARGUMENTS] [--caption C] [--wait] [--timeout S]\n");
        return 2;
    }
    const std::wstring& command = a.words[0];
    if (command == L"main") return commandMain(a);
    if (command == L"settle") return commandSettle(a);
    if (command == L"window") return commandWindow(a);
    if (command == L"read") return commandRead(a);
    if (command == L"click") return commandClick(a);
    if (command == L"pick") return commandPick(a);
    if (command == L"press") return commandPress(a);
    if (command == L"key") return commandKey(a);
    if (command == L"syscommand") return commandSysCommand(a);
    if (command == L"close") return commandClose(a);
    if (command == L"wait-gone") return commandWaitGone(a);
    if (command == L"wait-exit") return commandWaitExit(a);
    if (command == L"error-text") return commandErrorText(a);
    std::fprintf(stderr, "vdrive: unknown command %ls\n", command.c_str());
    return 2;
}

}  // namespace
}  // namespace vdrive

int wmain(int argc, wchar_t** argv) {
    try {
        const int status = vdrive::run(argc, argv);
        std::fflush(stdout);
        return status;
    } catch (...) {
        std::printf("{\"error\":\"internal failure\"}\n");
        return 1;
    }
}
