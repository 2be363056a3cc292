// Starting the game and the host tool.
#pragma once

#include <string>
#include <vector>

namespace velmora {

struct StartResult {
    bool started = false;
    unsigned long errorCode = 0;  // the system's code when not started
    std::string errorText;        // the system's text for it; may be empty
};

class Processes {
public:
    virtual ~Processes() = default;
    // Runs `program` (its path also its first argument) and waits until it
    // exits. The wait goes on answering what is sent to the caller's windows.
    virtual StartResult runAndWait(const std::string& program) = 0;
    // Starts `program` in `workingDirectory` and returns at once.
    virtual StartResult start(const std::string& program, const std::string& workingDirectory) = 0;
    // The image of every running program: its full path, or only its
    // executable's name where the system will not tell the path (another
    // user's program, one that refuses to be opened).
    virtual std::vector<std::string> runningPrograms() = 0;
};

Processes& platformProcesses();

// This process's id, and whether a process of id `id` may still be running
// (an id the system will not tell about counts as running).
unsigned long currentProcessId();
bool processMayBeRunning(unsigned long id);

}  // namespace velmora
