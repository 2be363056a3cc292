// Starting programs on POSIX systems: a blocking run for the host tool and a
// start that returns at once for the game.
#include "platform/Processes.h"

#include <dirent.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fstream>

extern char** environ;

namespace velmora {
namespace {

class PosixProcesses final : public Processes {
public:
    StartResult runAndWait(const std::string& program) override {
        StartResult result;
        pid_t pid;
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        const int error = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
        if (error != 0) {
            result.errorCode = static_cast<unsigned long>(error);
            result.errorText = std::strerror(error);
            return result;
        }
        result.started = true;
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return result;
    }

    StartResult start(const std::string& program, const std::string& workingDirectory) override {
        StartResult result;
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
        pid_t pid;
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
        ::posix_spawn_file_actions_destroy(&actions);
        if (error != 0) {
            result.errorCode = static_cast<unsigned long>(error);
            result.errorText = std::strerror(error);
            return result;
        }
        // The game runs on its own; nothing waits for it, so reap it when it ends.
        reapLater();
        result.started = true;
        return result;
    }

    std::vector<std::string> runningPrograms() override {
        std::vector<std::string> programs;
        DIR* proc = ::opendir("/proc");
        if (!proc) return programs;
        while (const dirent* entry = ::readdir(proc)) {
            const std::string id = entry->d_name;
            if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos) continue;
            char path[4096];
            const ssize_t length = ::readlink(("/proc/" + id + "/exe").c_str(), path, sizeof path);
            if (length > 0) {
                programs.emplace_back(path, static_cast<size_t>(length));
                continue;
            }
            // Another user's program: only its name can be read.
            std::string name;
            std::getline(std::ifstream("/proc/" + id + "/comm"), name);
            if (!name.empty()) programs.push_back(name);
        }
        ::closedir(proc);
        return programs;
    }

private:
    static void reapLater() {
        int status;
        while (::waitpid(-1, &status, WNOHANG) > 0) {
        }
    }
};

}  // namespace

Processes& platformProcesses() {
    static PosixProcesses processes;
    return processes;
}

unsigned long currentProcessId() { return static_cast<unsigned long>(::getpid()); }

bool processMayBeRunning(unsigned long id) {
    if (id == 0 || id > static_cast<unsigned long>(INT32_MAX)) return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

}  // namespace velmora
