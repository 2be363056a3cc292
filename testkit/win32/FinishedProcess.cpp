#include <windows.h>

#include <cstdlib>

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

}  // namespace velmora::testkit
