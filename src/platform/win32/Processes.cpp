// Starting the game and the host tool on Windows.
#include "platform/Processes.h"

#include <iterator>

#include <windows.h>
#include <tlhelp32.h>

#include "platform/CodePage.h"

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
    StartResult runAndWait(const std::string& program) override {
        StartResult result;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string commandLine = "\"" + program + "\"";
        if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process)) {
            result.errorCode = ::GetLastError();
            result.errorText = systemErrorText(result.errorCode);
            return result;
        }
        result.started = true;
        ::CloseHandle(process.hThread);
        // Messages sent to this thread's windows (a broadcast of another
        // program among them) are answered while the wait lasts; posted ones
        // wait in the queue for the dialog's own loop.
        while (::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_SENDMESSAGE) ==
               WAIT_OBJECT_0 + 1) {
            MSG message;
            ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        ::CloseHandle(process.hProcess);
        return result;
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

    std::vector<std::string> runningPrograms() override {
        std::vector<std::string> programs;
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return programs;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
            std::u16string image = imagePath(entry.th32ProcessID);
            // Another user's program may refuse even this much: its name is all there is.
            if (image.empty()) image = reinterpret_cast<const char16_t*>(entry.szExeFile);
            std::string narrow;
            appendNarrow(image, narrow);
            programs.push_back(std::move(narrow));
        }
        ::CloseHandle(snapshot);
        return programs;
    }

private:
    static std::u16string imagePath(DWORD id) {
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (!process) return {};
        wchar_t path[MAX_PATH * 4];
        DWORD size = static_cast<DWORD>(std::size(path));
        std::u16string image;
        if (::QueryFullProcessImageNameW(process, 0, path, &size))
            image.assign(reinterpret_cast<const char16_t*>(path), size);
        ::CloseHandle(process);
        return image;
    }
};

}  // namespace

Processes& platformProcesses() {
    static Win32Processes processes;
    return processes;
}

unsigned long currentProcessId() { return ::GetCurrentProcessId(); }

bool processMayBeRunning(unsigned long id) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = !::GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

}  // namespace velmora
