// Starting the game and the host tool.
#pragma once

#include <string>

namespace velmora {

struct StartResult {
    bool started = false;
    unsigned long errorCode = 0;  // the system's code when not started
    std::string errorText;        // the system's text for it; may be empty
};

class Processes {
public:
    virtual ~Processes() = default;
    // Runs `program` (its path also its first argument) and waits until it exits.
    virtual void runAndWait(const std::string& program) = 0;
    // Starts `program` in `workingDirectory` and returns at once.
    virtual StartResult start(const std::string& program, const std::string& workingDirectory) = 0;
};

Processes& platformProcesses();

}  // namespace velmora
