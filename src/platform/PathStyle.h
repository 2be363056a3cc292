// The separator the platform joins path parts with: a backslash on Windows,
// a slash elsewhere.
#pragma once

namespace velmora {

char platformPathSeparator();

}  // namespace velmora
