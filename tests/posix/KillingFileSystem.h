// A file system that kills its own process at a chosen step, for the crash
// tests: a run is forked into a child, killed, and what it left is checked.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "platform/Files.h"

namespace velmora {

// Passes everything to the real file system and kills its own process at the
// n-th step that changes the disk (never, for -1). A copy is killed half-way
// through: a temporary file holding half of the source is left behind.
// Nothing waits for the disk: a killed process loses nothing the system has
// already been handed, so the tests need not pay for it.
class KillingFileSystem final : public FileSystem {
public:
    KillingFileSystem(FileSystem& real, int killAt) : real_(real), killAt_(killAt) {}

    bool listFolder(const std::string& f, std::vector<DirEntry>& e) override { return real_.listFolder(f, e); }
    bool exists(const std::string& p) override { return real_.exists(p); }
    bool isDirectory(const std::string& p) override { return real_.isDirectory(p); }
    bool canOpenForReading(const std::string& p) override { return real_.canOpenForReading(p); }
    bool readFile(const std::string& p, std::string& c) override { return real_.readFile(p, c); }
    std::string writeTemporary(const std::string& t, std::string_view c, bool d) override {
        if (step()) die(real_.writeTemporary(t, c.substr(0, c.size() / 2), false));
        (void)d;
        return real_.writeTemporary(t, c, false);
    }
    std::string copyToTemporary(const std::string& s, const std::string& t, bool d) override {
        if (step()) {
            std::string half;
            real_.readFile(s, half);
            half.resize(half.size() / 2);
            die(real_.writeTemporary(t, half, false));
        }
        (void)d;
        return real_.copyToTemporary(s, t, false);
    }
    bool replaceWithTemporary(const std::string& tmp, const std::string& t) override {
        if (step()) die();
        return real_.replaceWithTemporary(tmp, t);
    }
    bool moveTemporaryIntoPlace(const std::string& tmp, const std::string& t) override {
        if (step()) die();
        return real_.moveTemporaryIntoPlace(tmp, t);
    }
    bool flushTemporaries(const std::vector<std::string>&) override {
        if (step()) die();
        return true;
    }
    void discardTemporary(const std::string& tmp) override { real_.discardTemporary(tmp); }
    bool isReadOnly(const std::string& p) override { return real_.isReadOnly(p); }
    bool makeWritable(const std::string& p) override { return real_.makeWritable(p); }
    MakeDirResult makeDirectory(const std::string& p) override {
        if (step()) die();
        return real_.makeDirectory(p);
    }
    bool removeFile(const std::string& p) override {
        if (step()) die();
        return real_.removeFile(p);
    }
    std::string currentDirectory() override { return real_.currentDirectory(); }
    bool setCurrentDirectory(const std::string& p) override { return real_.setCurrentDirectory(p); }

    int steps() const { return steps_.load(); }

private:
    bool step() { return ++steps_ == killAt_; }
    [[noreturn]] static void die(const std::string& = {}) {
        ::kill(::getpid(), SIGKILL);
        for (;;) ::pause();
    }

    FileSystem& real_;
    int killAt_;
    std::atomic<int> steps_{0};  // a swap calls from two threads
};

// Runs `work` in a child process that uses a KillingFileSystem dying at step
// `killAt`; with `killAt` 0 the child is killed from outside after `delay`.
// `install` puts the child's file system in place.
inline void runKilled(int killAt, std::chrono::microseconds delay, FileSystem& real,
                      const std::function<void(FileSystem&)>& work) {
    const pid_t child = ::fork();
    if (child == -1) return;
    if (child == 0) {
        KillingFileSystem killing(real, killAt);
        work(killing);
        ::_exit(0);
    }
    if (killAt == 0) {
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

}  // namespace velmora
