// The file services on POSIX systems, with Windows' meaning kept where the
// program depends on it: a file without its owner's write permission is
// read-only (even to root, as the read-only attribute is to an administrator
// on Windows), a folder cannot be opened as a file, and listings come sorted
// without regard to case, as NTFS lists them.
#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include "base/CodePage1252.h"
#include "base/TemporaryNames.h"
#include "platform/PathStyle.h"

namespace velmora {
namespace {

bool statPath(const std::string& path, struct stat& info) { return ::stat(path.c_str(), &info) == 0; }

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

class PosixFileSystem final : public FileSystem {
public:
    bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) override {
        entries.clear();
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) return false;
        while (const dirent* entry = ::readdir(dir)) {
            DirEntry item;
            item.name = entry->d_name;
            if (item.name == "." || item.name == "..") continue;
            if (entry->d_type == DT_DIR) {
                item.isDirectory = true;
            } else if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                item.isDirectory = isDirectory(folder + "/" + item.name);
            }
            entries.push_back(std::move(item));
        }
        ::closedir(dir);
        std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
            const int order = compareIgnoreCase(a.name, b.name);
            return order != 0 ? order < 0 : a.name < b.name;
        });
        return true;
    }

    bool exists(const std::string& path) override {
        struct stat info;
        return statPath(path, info);
    }

    bool isDirectory(const std::string& path) override {
        struct stat info;
        return statPath(path, info) && S_ISDIR(info.st_mode);
    }

    bool canOpenForReading(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat info;
        const bool isFile = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
        ::close(fd);
        return isFile;
    }

    bool readFile(const std::string& path, std::string& contents) override {
        contents.clear();
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat info;
        if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            ::close(fd);
            return false;
        }
        if (info.st_size > 0) contents.reserve(static_cast<size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR) continue;
                ::close(fd);
                contents.clear();
                return false;
            }
            if (got == 0) break;
            contents.append(buffer, static_cast<size_t>(got));
        }
        ::close(fd);
        return true;
    }

    std::string writeTemporary(const std::string& target, std::string_view contents, bool durable) override {
        std::string temporary;
        const int fd = createTemporary(target, temporary);
        if (fd < 0) return {};
        if (!writeAll(fd, contents.data(), contents.size())) return abandon(fd, temporary);
        return finish(fd, temporary, durable);
    }

    std::string copyToTemporary(const std::string& source, const std::string& target, bool durable) override {
        const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) return {};
        struct stat info;
        if (::fstat(in, &info) != 0 || S_ISDIR(info.st_mode)) {
            ::close(in);
            return {};
        }
        std::string temporary;
        const int fd = createTemporary(target, temporary);
        if (fd < 0) {
            ::close(in);
            return {};
        }
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(in, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 || (got > 0 && !writeAll(fd, buffer, static_cast<size_t>(got)))) {
                ::close(in);
                return abandon(fd, temporary);
            }
            if (got == 0) break;
        }
        ::close(in);
        return finish(fd, temporary, durable);
    }

    bool replaceWithTemporary(const std::string& temporary, const std::string& target) override {
        struct stat info;
        if (statPath(target, info)) {
            if (S_ISDIR(info.st_mode) || !(info.st_mode & S_IWUSR)) return false;
            // The new file takes the permissions of the one it replaces.
            ::chmod(temporary.c_str(), info.st_mode & 07777);
        }
        return ::rename(temporary.c_str(), target.c_str()) == 0;
    }

    bool moveTemporaryIntoPlace(const std::string& temporary, const std::string& target) override {
        // A rename that refuses an existing name is one step; file systems
        // without it get a hard link, which never replaces a name either and
        // appears whole.
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
        if (errno == EEXIST) return false;
        if (::link(temporary.c_str(), target.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return true;
        }
        if (errno == EEXIST) return false;
        // File systems without hard links: the check and the rename are two
        // steps, but nothing else in this program writes backup files.
        if (exists(target)) return false;
        return ::rename(temporary.c_str(), target.c_str()) == 0;
    }

    bool flushTemporaries(const std::vector<std::string>& temporaries) override {
        // One syncfs per file system writes back every file there and flushes
        // the disk's cache once, where an fdatasync per file flushes it once
        // per file. It also reports the write errors there that no one has
        // been told of yet.
        std::vector<dev_t> flushed;
        std::string lastFolder;
        for (const std::string& temporary : temporaries) {
            const size_t slash = temporary.find_last_of('/');
            const std::string folder = slash == std::string::npos ? "." : temporary.substr(0, slash + 1);
            if (folder == lastFolder) continue;
            lastFolder = folder;
            const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0) return false;
            struct stat info;
            bool ok = ::fstat(fd, &info) == 0;
            if (ok && std::find(flushed.begin(), flushed.end(), info.st_dev) == flushed.end()) {
                ok = ::syncfs(fd) == 0;
                flushed.push_back(info.st_dev);
            }
            ::close(fd);
            if (!ok) return false;
        }
        return true;
    }

    void discardTemporary(const std::string& temporary) override { ::unlink(temporary.c_str()); }

    bool isReadOnly(const std::string& path) override {
        struct stat info;
        return statPath(path, info) && !S_ISDIR(info.st_mode) && !(info.st_mode & S_IWUSR);
    }

    bool makeWritable(const std::string& path) override {
        struct stat info;
        if (!statPath(path, info)) return false;
        return ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0;
    }

    MakeDirResult makeDirectory(const std::string& path) override {
        if (::mkdir(path.c_str(), 0777) == 0) return MakeDirResult::Created;
        // A file in the folder's place is no folder: everything meant to go
        // into it would fail.
        return errno == EEXIST && isDirectory(path) ? MakeDirResult::AlreadyExists : MakeDirResult::Failed;
    }

    // unlink() never removes a folder: it fails with EISDIR (or EPERM).
    bool removeFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    std::string currentDirectory() override {
        char buffer[PATH_MAX];
        return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
    }

    bool setCurrentDirectory(const std::string& path) override { return ::chdir(path.c_str()) == 0; }

private:
    static int createTemporary(const std::string& target, std::string& temporary) {
        temporary = temporaryNameFor(target, static_cast<unsigned long>(::getpid()));
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) temporary.clear();
        return fd;
    }

    static std::string abandon(int fd, const std::string& temporary) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return {};
    }

    static std::string finish(int fd, const std::string& temporary, bool durable) {
        if (durable && ::fdatasync(fd) != 0) return abandon(fd, temporary);
        if (::close(fd) != 0) {
            ::unlink(temporary.c_str());
            return {};
        }
        return temporary;
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static PosixFileSystem files;
    return files;
}

char platformPathSeparator() { return '/'; }

}  // namespace velmora
