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

namespace velmora {

// A fresh name beside `target`, unique within this process for `processId`.
std::string temporaryNameFor(const std::string& target, unsigned long processId);

// Whether `name` (without its folder) is one of those temporary files.
bool isTemporaryName(std::string_view name);

// The id of the process that wrote the temporary file `name`; 0 when it is
// none.
unsigned long temporaryWriter(std::string_view name);

}  // namespace velmora
