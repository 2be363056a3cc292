// Where the running program lives.
#pragma once

#include <string>

namespace velmora {

// The directory of the running executable without a trailing separator
// ("C:" for a program in a drive's root folder); "" when it cannot be told.
// The running executable's own file is asked, not a search for its name, so
// that another copy on the search path never takes its place.
std::string platformProgramDirectory();

}  // namespace velmora
