// The documented differences between Wine's private-profile functions and
// Velmora's engine, each shown on a small file at the start of every run, so
// that a Wine that changes, or an engine that strays from what its header
// says, shows at once.
#pragma once

#include "differential/CaseRunner.h"

namespace velmora::differential {

// Prints each difference and whether Wine still shows it. False when
// Velmora's side is not as documented.
bool showKnownDifferences(const Workspace& workspace);

}  // namespace velmora::differential
