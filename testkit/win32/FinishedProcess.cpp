#include <windows.h>

#include <cstdlib>
#include <filesystem>

#include "testkit/TempDir.h"

namespace velmora::testkit {

// Windows gives a freed id out again at once: the handles, never closed, keep
// the ended process's id from the next one.
unsigned long finishedProcessId() {
    char command[] = "cmd.exe /c exit";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                          &process))
        std::abort();  // no cmd.exe: no Windows to test on
    ::WaitForSingleObject(process.hProcess, INFINITE);
    return process.dwProcessId;
}

std::string copyBesideMe(const char* relative, const std::string& to) {
    namespace fs = std::filesystem;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::create_directories(fs::path(to).parent_path());
    fs::copy_file(fs::path(self).parent_path() / relative, to, fs::copy_options::overwrite_existing);
    return to;
}

}  // namespace velmora::testkit
