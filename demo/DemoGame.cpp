// The game executable of the demo installations (combatfs.exe, cfs2.exe).
// The demo holds no game, so when Velmora's Launch starts it, it says which
// program the real game would be and where it was started, and ends.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t program[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    wchar_t text[3 * MAX_PATH];
    std::swprintf(text, sizeof text / sizeof text[0],
                  L"The game would start here:\n\n%ls\n\nin the folder %ls.\n\n"
                  L"This is Velmora's demo installation: it holds no game.",
                  program, folder);
    ::MessageBoxW(nullptr, text, L"Demo game", MB_OK | MB_ICONINFORMATION);
    return 0;
}
