#include "testkit/FinishedProcess.h"

#include <sys/wait.h>
#include <unistd.h>

namespace velmora::testkit {

// Process ids are handed out in increasing order, so the reaped child's comes
// back only after the system has gone through all the others.
unsigned long finishedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return static_cast<unsigned long>(child);
}

}  // namespace velmora::testkit
