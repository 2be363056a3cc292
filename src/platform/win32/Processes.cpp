// Starting the game and the host tool on Windows.
#include "platform/Processes.h"

#include <windows.h>

namespace velmora {
namespace {

std::string systemErrorText(DWORD code) {
    // No FORMAT_MESSAGE_IGNORE_INSERTS: a text that expects insert values
    // yields nothing, and the caller shows the code instead.
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
                                          0, reinterpret_cast<char*>(&text), 32, nullptr);
    std::string result;
    if (length > 0 && text) result.assign(text, length);
    if (text) ::LocalFree(text);
    return result;
}

class Win32Processes final : public Processes {
public:
    void runAndWait(const std::string& program) override {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string commandLine = "\"" + program + "\"";
        if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process))
            return;
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }

    StartResult start(const std::string& program, const std::string& workingDirectory) override {
        StartResult result;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string directory = workingDirectory;
        if (!::CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                              &startup, &process)) {
            result.errorCode = ::GetLastError();
            result.errorText = systemErrorText(result.errorCode);
            return result;
        }
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        result.started = true;
        return result;
    }
};

}  // namespace

Processes& platformProcesses() {
    static Win32Processes processes;
    return processes;
}

}  // namespace velmora
