#include <sys/wait.h>
#include <unistd.h>

#include "testkit/TempDir.h"

namespace velmora::testkit {

// Ids are handed out in increasing order: the reaped child's comes back only
// after all the others.
unsigned long finishedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return static_cast<unsigned long>(child);
}

}  // namespace velmora::testkit
