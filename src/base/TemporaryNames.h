// The names of the temporary files every write goes through.
//
// A temporary file lives beside its target until it is moved into place. A
// process killed in between leaves it behind, so its name must match no
// search of the program (it ends in neither ".dp" nor ".mis" and holds a dot,
// so it is no ship folder either), and must be recognisable so that a later
// run can clear it away.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/Files.h"

namespace velmora {

// A fresh name beside `target`, unique within this process for `processId`.
std::string temporaryNameFor(const std::string& target, unsigned long processId);

// Whether `name` (without its folder) is one of those temporary files.
bool isTemporaryName(std::string_view name);

// Removes the temporary files that killed runs left in `folder`; one whose
// writer may still be running stays. Returns the names of everything that is
// not a temporary file, as they are listed.
std::unordered_set<std::string> removeLeftoverTemporaries(FileSystem& files, const std::string& folder,
                                                          char separator);

}  // namespace velmora
