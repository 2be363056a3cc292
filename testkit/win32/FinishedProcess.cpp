#include "testkit/FinishedProcess.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace velmora::testkit {

// Windows gives a freed id to the next process at once; the handle, never
// closed, keeps the ended process's id from being given out again.
unsigned long finishedProcessId() {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    std::string command = "\"" + std::string(system) + "\\cmd.exe\" /c exit";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        std::abort();  // no cmd.exe: nothing here can work
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    return process.dwProcessId;
}

}  // namespace velmora::testkit
