#include "differential/ProfileEngines.h"

#include <windows.h>

#include <vector>

#include "core/ProfileFile.h"

namespace velmora::differential {
namespace {

// Wine keeps the parsed copy of a file it wrote, and reuses a parsed copy of
// a file that has not changed for two seconds. The copy it wrote can differ
// from what reading the file gives (names keep trailing spaces in it), so
// it is dropped after every write: each call then reads the file as it is
// on disk, as Windows does. The documented way returns FALSE.
void forgetCachedCopy(const std::string& path) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace

StringRead windowsReadString(const Op& read, const std::string& path) {
    std::vector<char> buffer(read.size + 16, '\x7F');
    StringRead result;
    result.count = static_cast<long>(::GetPrivateProfileStringA(read.section.c_str(), read.key.c_str(),
                                                                read.text.c_str(), buffer.data(),
                                                                static_cast<DWORD>(read.size), path.c_str()));
    if (read.size > 0) result.text.assign(buffer.data());
    return result;
}

int windowsReadInt(const Op& read, const std::string& path) {
    return static_cast<int>(
        ::GetPrivateProfileIntA(read.section.c_str(), read.key.c_str(), read.intDefault, path.c_str()));
}

void windowsWrite(const Op& write, const std::string& path) {
    if (write.kind == Op::WriteString) {
        ::WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(), write.text.c_str(), path.c_str());
        forgetCachedCopy(path);
        return;
    }
    // The list as the function takes it: strings each ended by a zero, the
    // whole ended by an empty one.
    std::string list;
    for (const std::string& line : write.lines) {
        if (line.empty()) break;
        list.append(line).push_back('\0');
    }
    list.push_back('\0');
    ::WritePrivateProfileSectionA(write.section.c_str(), list.c_str(), path.c_str());
    forgetCachedCopy(path);
}

StringRead velmoraReadString(const Op& read, const std::string& path) {
    StringRead result;
    result.text = getProfileString(platformFileSystem(), read.section, read.key, read.text, read.size, path);
    result.count = static_cast<long>(result.text.size());
    return result;
}

int velmoraReadInt(const Op& read, const std::string& path) {
    return getProfileInt(platformFileSystem(), read.section, read.key, read.intDefault, path);
}

void velmoraWrite(const Op& write, const std::string& path) {
    if (write.kind == Op::WriteString)
        writeProfileString(platformFileSystem(), write.section, write.key, write.text, path);
    else
        writeProfileSection(platformFileSystem(), write.section, write.lines, path);
}

void putFile(const std::string& path, const std::string& text) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string fileContents(const std::string& path) {
    std::string text;
    platformFileSystem().readFile(path, text);
    return text;
}

void removeFile(const std::string& path) { ::DeleteFileA(path.c_str()); }

}  // namespace velmora::differential
