// The games' registration in the Windows registry. The games' installers are
// 32-bit, so on 64-bit Windows their keys live in the 32-bit view: a 64-bit
// build must ask for it (KEY_WOW64_32KEY); a 32-bit build sees it anyway.
#include "platform/GameRegistry.h"

#include <windows.h>

namespace velmora {
namespace {

class Win32GameRegistry final : public GameRegistry {
public:
    std::optional<std::string> currentDirectory(const std::string& keyPath) override {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) !=
            ERROR_SUCCESS)
            return std::nullopt;
        char buffer[520];
        DWORD size = sizeof buffer;
        DWORD type = 0;
        const LONG status = ::RegQueryValueExA(key, "CurrentDirectory", nullptr, &type,
                                               reinterpret_cast<BYTE*>(buffer), &size);
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
        // The stored text need not end in a terminator; it may also carry several.
        std::string value(buffer, size);
        while (!value.empty() && value.back() == '\0') value.pop_back();
        if (value.empty() || value.size() >= sizeof buffer || value.find('\0') != std::string::npos)
            return std::nullopt;
        return value;
    }
};

}  // namespace

GameRegistry& platformGameRegistry() {
    static Win32GameRegistry registry;
    return registry;
}

}  // namespace velmora
