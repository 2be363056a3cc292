// The temporary files that killed runs leave behind (base/TemporaryNames.h),
// cleared away by a later run.
#pragma once

#include <string>
#include <unordered_set>

#include "platform/Files.h"

namespace velmora {

// Removes the temporary files that killed runs left in `folder`; one whose
// writer may still be running stays. Returns the names of everything that is
// not a temporary file, as they are listed.
std::unordered_set<std::string> removeLeftoverTemporaries(FileSystem& files, const std::string& folder,
                                                          char separator);

}  // namespace velmora
