// File virtualization on Windows: the process token says whether it is on,
// the known folder for local application data says where the store is.
#include "platform/FileVirtualization.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace velmora {
namespace {

DWORD tokenFlag(HANDLE token, TOKEN_INFORMATION_CLASS what) {
    DWORD value = 0, size = 0;
    return ::GetTokenInformation(token, what, &value, sizeof value, &size) ? value : 0;
}

class Win32Virtualization final : public FileVirtualization {
public:
    bool isVirtualized() override {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
        // An elevated process is never virtualized, whatever the flag says.
        const bool virtualized = !tokenFlag(token, TokenElevation) && tokenFlag(token, TokenVirtualizationEnabled);
        ::CloseHandle(token);
        return virtualized;
    }

    std::string storeFolder() override {
        wchar_t* wide = nullptr;
        std::string folder;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &wide))) {
            const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
            if (size > 1) {
                folder.resize(static_cast<size_t>(size - 1));
                ::WideCharToMultiByte(CP_ACP, 0, wide, -1, folder.data(), size, nullptr, nullptr);
                folder += "\\VirtualStore";
            }
        }
        ::CoTaskMemFree(wide);
        return folder;
    }
};

}  // namespace

FileVirtualization& platformFileVirtualization() {
    static Win32Virtualization virtualization;
    return virtualization;
}

}  // namespace velmora
