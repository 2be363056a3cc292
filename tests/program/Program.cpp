#include "program/Program.h"

#include <algorithm>
#include <thread>

#include "core/GameTable.h"
#include "testkit/GameInstall.h"

namespace velmora::program {
namespace {

constexpr DWORD kPatienceMs = 30000;

bool isClass(HWND window, const wchar_t* wanted) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return std::wstring(name) == wanted;
}

}  // namespace

std::string textOf(HWND window) {
    wchar_t text[2048] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, kPatienceMs, &length);
    std::string out;
    for (const wchar_t* c = text; *c; ++c) out += static_cast<char>(*c < 0x80 ? *c : '?');
    return out;
}

bool waitFor(const std::function<bool()>& done) {
    for (DWORD waited = 0; waited < kPatienceMs && !done(); waited += 20) ::Sleep(20);
    return done();
}

Program::Program(const Setup& setup) {
    testkit::copyBesideMe(VELMORA_EXE_FROM_TESTS, path("Velmora\\Velmora.exe"));  // Velmora.exe is one folder up
    for (GameVersion game : {kCfs1, kCfs2}) {
        if (!(game == kCfs1 ? setup.cfs1 : setup.cfs2)) continue;
        testkit::GameInstall install(game);
        if (game == kCfs1)
            install.mission("Channel.mis", {{{3, 1, "Tower"}}, {{3}}}).objectDps({"Tower", "Hangar"});
        else
            install.mission("Raid.mis", {{{3, 2, "Tower"}, {4, 1, "Hangar"}}, {{3}, {4}}})
                .mission("Convoy.mis", {{{5, 2, "hull class"}}, {{5}}})
                .objectDps({"Tower", "Hangar", "Crate"})
                .ship("Carrier", {"hull"});
        const std::string folder = path(game == kCfs1 ? "CFS1" : "CFS2");
        install.writeGame(folder);
        testkit::copyBesideMe("velmora_standin.exe", folder + (game == kCfs1 ? "\\combatfs.exe" : "\\cfs2.exe"));
        HKEY key;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, testkit::registryKey(game).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        ::RegSetValueExA(key, "CurrentDirectory", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                         static_cast<DWORD>(folder.size() + 1));
        ::RegCloseKey(key);
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
        ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, testkit::registryKey(game).c_str(), KEY_WOW64_32KEY, 0);
}

std::pair<HWND, HWND> Program::windows() const {
    if (processes_.empty()) return {};
    const auto live = std::find_if(processes_.begin(), processes_.end(), [](const PROCESS_INFORMATION& process) {
        return ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    });
    struct Found {
        DWORD process;
        HWND main = nullptr, box = nullptr;
    } found{(live != processes_.end() ? *live : processes_.front()).dwProcessId};
    // Every box of the program, those of its start-up too, is owned by the main window.
    ::EnumWindows(
        [](HWND window, LPARAM into) -> BOOL {
            auto& seen = *reinterpret_cast<Found*>(into);
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process != seen.process || !isClass(window, L"#32770")) return TRUE;
            if (!::GetWindow(window, GW_OWNER))
                seen.main = window;
            else if (::IsWindowVisible(window))
                seen.box = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return {found.main, found.box};
}

std::string Program::start() {
    std::string program = path("Velmora\\Velmora.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(program.c_str(), program.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          path("Velmora").c_str(), &startup, &process))
        return "could not start " + program + ": error " + std::to_string(::GetLastError());
    processes_.push_back(process);
    return "";
}

std::string Program::answer(const std::string& caption, const std::string& text, const std::string& button) {
    HWND box = nullptr;
    if (!waitFor([&] { return (box = windows().second) != nullptr; })) return "no box \"" + caption + "\" opened";
    const HWND label = ::GetDlgItem(box, 0xFFFF);  // a message box's text
    const std::string shown = textOf(box) + "\": \"" + (label ? textOf(label) : text);
    if (shown != caption + "\": \"" + text) return "the box shown is \"" + shown + "\"";
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::string name = textOf(child);
        std::erase(name, '&');
        if (!isClass(child, L"Button") || name != button) continue;
        ::PostMessageW(child, BM_CLICK, 0, 0);
        return waitFor([&] { return !::IsWindow(box); }) ? "" : "the box \"" + caption + "\" stayed open";
    }
    return "the box \"" + caption + "\" has no button " + button;
}

std::string Program::ready() {
    const bool settled = waitFor([&] {
        const auto [main, box] = windows();
        return main && ::IsWindowVisible(main) && ::IsWindowEnabled(main) && !box && (!clickDone_ || *clickDone_);
    });
    const HWND box = windows().second;
    return settled ? "" : box ? "a box is open: \"" + textOf(box) + "\"" : "no main window";
}

std::string Program::click(int id) {
    if (std::string why = ready(); !why.empty()) return why;
    const HWND control = ::GetDlgItem(windows().first, id);
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
    waitFor([&] { return *clickDone_ || windows().second || ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
    return "";
}

std::string Program::ended() {
    if (processes_.empty()) return "nothing was started";
    const HANDLE process = processes_.back().hProcess;
    if (::WaitForSingleObject(process, kPatienceMs) != WAIT_OBJECT_0) return "the program did not end";
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process, &exitCode);
    return exitCode == 0 ? "" : "the program ended with " + std::to_string(exitCode);
}

}  // namespace velmora::program
