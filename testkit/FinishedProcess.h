// The id of a process that has run and ended, for tests of what Velmora does
// with the temporary files of a writer that is gone.
#pragma once

namespace velmora::testkit {

// Starts a process, waits for its end and returns its id. No live process
// holds that id while the test runs.
unsigned long finishedProcessId();

}  // namespace velmora::testkit
