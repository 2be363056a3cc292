#include "program/Program.h"

#include <filesystem>
#include <functional>
#include <thread>

#include "core/GameTable.h"
#include "testkit/GameInstall.h"

namespace velmora::program {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kPatienceMs = 30000;

bool waitFor(const std::function<bool()>& done) {
    for (DWORD waited = 0; waited < kPatienceMs; waited += 20) {
        if (done()) return true;
        ::Sleep(20);
    }
    return done();
}

// Next to this test program: the build puts Velmora.exe one folder up.
fs::path besideMe(const char* relative) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / relative;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c < 0x80 ? c : '?');
    return out;
}

std::wstring windowText(HWND window) {
    wchar_t text[2048] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, kPatienceMs, &length);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct Windows {
    DWORD process;
    HWND main = nullptr;
    HWND box = nullptr;
};

BOOL CALLBACK collect(HWND window, LPARAM found) {
    auto& windows = *reinterpret_cast<Windows*>(found);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != windows.process || className(window) != L"#32770") return TRUE;
    // Every box of the program, those of its start-up too, is owned by the main window.
    if (!::GetWindow(window, GW_OWNER))
        windows.main = window;
    else if (::IsWindowVisible(window))
        windows.box = window;
    return TRUE;
}

// Where the games' 32-bit installers register them.
const char* registryKey(GameVersion game) {
    return game == kCfs1 ? "Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator"
                         : "Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator 2";
}

void registerGame(GameVersion game, const std::string& dir) {
    HKEY key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, registryKey(game), 0, nullptr, 0,
                          KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, "CurrentDirectory", 0, REG_SZ, reinterpret_cast<const BYTE*>(dir.c_str()),
                     static_cast<DWORD>(dir.size() + 1));
    ::RegCloseKey(key);
}

void copyStandIn(const std::string& to) {
    fs::create_directories(fs::path(to).parent_path());
    fs::copy_file(besideMe("velmora_standin.exe"), to, fs::copy_options::overwrite_existing);
}

}  // namespace

Program::Program(const Setup& setup) {
    fs::create_directories(path("Velmora"));
    fs::copy_file(besideMe(VELMORA_EXE_FROM_TESTS), path("Velmora\\Velmora.exe"));
    if (setup.cfs1) {
        testkit::GameInstall cfs1(kCfs1);
        cfs1.mission("Channel.mis", {{{3, 1, "Tower"}}, {{3}}}).objectDps({"Tower", "Hangar"});
        cfs1.writeGame(path("CFS1"));
        copyStandIn(path("CFS1\\combatfs.exe"));
        registerGame(kCfs1, path("CFS1"));
    }
    if (setup.cfs2) {
        testkit::GameInstall cfs2(kCfs2);
        cfs2.mission("Raid.mis", {{{3, 2, "Tower"}, {4, 1, "Hangar"}}, {{3}, {4}}})
            .mission("Convoy.mis", {{{5, 2, "hull class"}}, {{5}}})
            .objectDps({"Tower", "Hangar", "Crate"})
            .ship("Carrier", {"hull"});
        cfs2.writeGame(path("CFS2"));
        copyStandIn(path("CFS2\\cfs2.exe"));
        registerGame(kCfs2, path("CFS2"));
    }
    if (setup.hostTool) {
        copyStandIn(path("CFS2\\Tarnwick\\Select.exe"));
        testkit::writeText(path("CFS2\\Tarnwick\\standin-create.txt"), "..\\origcfs2.exe");
    }
}

Program::~Program() {
    for (PROCESS_INFORMATION& process : processes_) {
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process.hProcess, 99);
            ::WaitForSingleObject(process.hProcess, kPatienceMs);
        }
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    for (GameVersion game : {kCfs1, kCfs2})
        ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, registryKey(game), KEY_WOW64_32KEY, 0);
}

DWORD Program::runningId() const {
    for (const PROCESS_INFORMATION& process : processes_)
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) return process.dwProcessId;
    return processes_.front().dwProcessId;
}

HWND Program::mainWindow() const {
    if (processes_.empty()) return nullptr;
    Windows windows{runningId()};
    ::EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    return windows.main;
}

HWND Program::openBox() const {
    if (processes_.empty()) return nullptr;
    Windows windows{runningId()};
    ::EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    return windows.box;
}

std::string Program::start() {
    std::string program = path("Velmora\\Velmora.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(program.c_str(), program.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          path("Velmora").c_str(), &startup, &process))
        return "could not start " + program;
    processes_.push_back(process);
    return "";
}

std::string Program::answer(const std::string& caption, const std::string& text, const std::string& button) {
    HWND box = nullptr;
    if (!waitFor([&] { return (box = openBox()) != nullptr; })) return "no box \"" + caption + "\" opened";
    const std::string shownCaption = narrow(windowText(box));
    const HWND label = ::GetDlgItem(box, 0xFFFF);  // a message box's text
    const std::string shownText = label ? narrow(windowText(label)) : "";
    if (shownCaption != caption || (label && shownText != text))
        return "the box shown is \"" + shownCaption + "\": \"" + shownText + "\"";
    HWND pressed = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::string name = narrow(windowText(child));
        std::erase(name, '&');
        if (className(child) == L"Button" && name == button) pressed = child;
    }
    if (!pressed) return "the box \"" + caption + "\" has no button " + button;
    ::PostMessageW(pressed, BM_CLICK, 0, 0);
    return waitFor([&] { return !::IsWindow(box); }) ? "" : "the box \"" + caption + "\" stayed open";
}

std::string Program::ready() {
    const bool settled = waitFor([&] {
        const HWND main = mainWindow();
        return main && ::IsWindowVisible(main) && ::IsWindowEnabled(main) && !openBox() &&
               (!clickDone_ || *clickDone_);
    });
    return settled ? "" : openBox() ? "a box is open: \"" + narrow(windowText(openBox())) + "\"" : "no main window";
}

std::string Program::click(int id) {
    if (std::string why = ready(); !why.empty()) return why;
    const HWND control = ::GetDlgItem(mainWindow(), id);
    if (!control || !::IsWindowVisible(control) || !::IsWindowEnabled(control))
        return "control " + std::to_string(id) + " is missing, hidden or disabled";
    // Sent from a thread of its own: a handler that opens a box does not
    // return until the box is closed.
    clickDone_ = std::make_shared<std::atomic<bool>>(false);
    std::thread([control, done = clickDone_] {
        ::SendMessageW(control, BM_CLICK, 0, 0);
        *done = true;
    }).detach();
    const HANDLE process = processes_.front().hProcess;
    waitFor([&] { return *clickDone_ || openBox() || ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
    return "";
}

std::string Program::pick(int id, const std::string& text) {
    if (std::string why = ready(); !why.empty()) return why;
    const HWND list = ::GetDlgItem(mainWindow(), id);
    const std::wstring entry(text.begin(), text.end());
    const LRESULT index =
        ::SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    if (index == CB_ERR) return "no entry " + text;
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return "";
}

std::string Program::key(WPARAM key) {
    if (std::string why = ready(); !why.empty()) return why;
    // The dialog's loop reads keys from its queue, for the control that has the focus.
    const HWND main = mainWindow();
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    HWND target = main;
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &thread) && thread.hwndFocus)
        target = thread.hwndFocus;
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    return "";
}

std::string Program::close() {
    if (std::string why = ready(); !why.empty()) return why;
    ::PostMessageW(mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return "";
}

std::string Program::text(int id, const std::string& expected) {
    if (std::string why = ready(); !why.empty()) return why;
    const std::string shown = narrow(windowText(::GetDlgItem(mainWindow(), id)));
    return shown == expected ? "" : "control " + std::to_string(id) + " shows \"" + shown + "\"";
}

std::string Program::minimized() {
    return waitFor([&] { return mainWindow() && ::IsIconic(mainWindow()); }) ? "" : "the window is not minimised";
}

std::string Program::ended(DWORD code) {
    if (processes_.empty()) return "nothing was started";
    const HANDLE process = processes_.back().hProcess;
    if (::WaitForSingleObject(process, kPatienceMs) != WAIT_OBJECT_0) return "the program did not end";
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process, &exitCode);
    return exitCode == code ? "" : "the program ended with " + std::to_string(exitCode);
}

}  // namespace velmora::program
