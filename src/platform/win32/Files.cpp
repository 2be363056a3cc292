// The file services on Windows. Paths are the system code page's bytes, as
// the games' own are; every call goes through the wide functions, so that a
// path past MAX_PATH works in every operation alike, not only in some.
#include "platform/Files.h"

#include <windows.h>

#include <string>

#include "base/TemporaryNames.h"
#include "platform/PathStyle.h"

namespace velmora {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Folders are limited to MAX_PATH less room for an 8.3 file name.
constexpr size_t kShortPathLimit = MAX_PATH - 12;

// A path for the wide functions. One that could reach a limit of the short
// form (a temporary file's name is longer than its target's, a folder's limit
// is shorter than a file's) is made full and given in the long form, which
// takes neither relative parts nor forward slashes.
std::wstring widePath(const std::string& path) {
    std::wstring wide;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (length > 0) {
        wide.resize(static_cast<size_t>(length));
        ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    }
    if (wide.size() < kShortPathLimit || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed > 0) {
        std::wstring full(needed, L'\0');
        const DWORD written = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
        if (written > 0 && written < needed) {
            full.resize(written);
            wide = std::move(full);
        }
    }
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
    return wide;
}

std::string narrowName(const wchar_t* name) {
    const int length = ::WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, name, -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length - 1));
    return narrow;
}

DWORD attributesOf(const std::string& path) { return ::GetFileAttributesW(widePath(path).c_str()); }

bool writeAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

class Win32FileSystem final : public FileSystem {
public:
    bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) override {
        entries.clear();
        WIN32_FIND_DATAW data;
        HANDLE search = ::FindFirstFileW(widePath(folder + "\\*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
        do {
            DirEntry entry;
            entry.name = narrowName(data.cFileName);
            if (entry.name == "." || entry.name == "..") continue;
            entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            entries.push_back(std::move(entry));
        } while (::FindNextFileW(search, &data));
        ::FindClose(search);
        return true;
    }

    bool exists(const std::string& path) override { return attributesOf(path) != INVALID_FILE_ATTRIBUTES; }

    bool isDirectory(const std::string& path) override {
        const DWORD attributes = attributesOf(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool canOpenForReading(const std::string& path) override {
        HANDLE file = openForReading(path);
        if (file == INVALID_HANDLE_VALUE) return false;
        ::CloseHandle(file);
        return true;
    }

    bool readFile(const std::string& path, std::string& contents) override {
        contents.clear();
        HANDLE file = openForReading(path);
        if (file == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER size;
        if (::GetFileSizeEx(file, &size) && size.QuadPart > 0) contents.reserve(static_cast<size_t>(size.QuadPart));
        char buffer[65536];
        bool ok = true;
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0) break;
            contents.append(buffer, got);
        }
        ::CloseHandle(file);
        if (!ok) contents.clear();
        return ok;
    }

    std::string writeTemporary(const std::string& target, std::string_view contents, bool durable) override {
        std::string temporary;
        HANDLE file = createTemporary(target, temporary);
        if (file == INVALID_HANDLE_VALUE) return {};
        if (!writeAll(file, contents.data(), contents.size())) return abandon(file, temporary);
        return finish(file, temporary, durable);
    }

    std::string copyToTemporary(const std::string& source, const std::string& target, bool durable) override {
        HANDLE in = openForReading(source);
        if (in == INVALID_HANDLE_VALUE) return {};
        std::string temporary;
        HANDLE file = createTemporary(target, temporary);
        if (file == INVALID_HANDLE_VALUE) {
            ::CloseHandle(in);
            return {};
        }
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(in, buffer, sizeof buffer, &got, nullptr) || (got > 0 && !writeAll(file, buffer, got))) {
                ::CloseHandle(in);
                return abandon(file, temporary);
            }
            if (got == 0) break;
        }
        ::CloseHandle(in);
        return finish(file, temporary, durable);
    }

    bool replaceWithTemporary(const std::string& temporary, const std::string& target) override {
        const DWORD attributes = attributesOf(target);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
            // The new file keeps the attributes of the one it replaces.
            const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                             FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
            if (kept) ::SetFileAttributesW(widePath(temporary).c_str(), kept);
        }
        return ::MoveFileExW(widePath(temporary).c_str(), widePath(target).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }

    bool moveTemporaryIntoPlace(const std::string& temporary, const std::string& target) override {
        // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
        return ::MoveFileExW(widePath(temporary).c_str(), widePath(target).c_str(), MOVEFILE_WRITE_THROUGH);
    }

    bool flushTemporaries(const std::vector<std::string>& temporaries) override {
        // Windows flushes a file at a time (a whole volume only for an
        // administrator).
        for (const std::string& temporary : temporaries) {
            HANDLE file = ::CreateFileW(widePath(temporary).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) return false;
            const bool flushed = ::FlushFileBuffers(file);
            ::CloseHandle(file);
            if (!flushed) return false;
        }
        return true;
    }

    void discardTemporary(const std::string& temporary) override { ::DeleteFileW(widePath(temporary).c_str()); }

    bool isReadOnly(const std::string& path) override {
        const DWORD attributes = attributesOf(path);
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
               (attributes & FILE_ATTRIBUTE_READONLY);
    }

    bool makeWritable(const std::string& path) override {
        const DWORD attributes = attributesOf(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) return false;
        if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
        return ::SetFileAttributesW(widePath(path).c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }

    MakeDirResult makeDirectory(const std::string& path) override {
        if (::CreateDirectoryW(widePath(path).c_str(), nullptr)) return MakeDirResult::Created;
        // A file in the folder's place is no folder: everything meant to go
        // into it would fail.
        return ::GetLastError() == ERROR_ALREADY_EXISTS && isDirectory(path) ? MakeDirResult::AlreadyExists
                                                                             : MakeDirResult::Failed;
    }

    bool removeFile(const std::string& path) override { return ::DeleteFileW(widePath(path).c_str()); }

    std::string currentDirectory() override {
        const DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
        if (needed == 0) return {};
        std::string path(needed, '\0');
        const DWORD length = ::GetCurrentDirectoryA(needed, path.data());
        path.resize(length < needed ? length : 0);
        return path;
    }

    bool setCurrentDirectory(const std::string& path) override { return ::SetCurrentDirectoryA(path.c_str()); }

private:
    static HANDLE openForReading(const std::string& path) {
        // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open: it is no file.
        return ::CreateFileW(widePath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    }

    static HANDLE createTemporary(const std::string& target, std::string& temporary) {
        temporary = temporaryNameFor(target, static_cast<unsigned long>(::GetCurrentProcessId()));
        HANDLE file = ::CreateFileW(widePath(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) temporary.clear();
        return file;
    }

    static std::string abandon(HANDLE file, const std::string& temporary) {
        ::CloseHandle(file);
        ::DeleteFileW(widePath(temporary).c_str());
        return {};
    }

    static std::string finish(HANDLE file, const std::string& temporary, bool durable) {
        if (durable && !::FlushFileBuffers(file)) return abandon(file, temporary);
        if (!::CloseHandle(file)) {
            ::DeleteFileW(widePath(temporary).c_str());
            return {};
        }
        return temporary;
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static Win32FileSystem files;
    return files;
}

char platformPathSeparator() { return '\\'; }

}  // namespace velmora
