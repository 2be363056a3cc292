// Wildcard directory search, as the games' file names need it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

namespace velmora {

// Whether `name` matches `pattern`, letter case ignored. `*` matches any run
// of characters and `?` one character; a pattern ending in "*." matches the
// names that hold no dot (the Windows rule for names without an extension).
bool matchesWildcard(std::string_view name, std::string_view pattern);

// The names in `folder` that match `pattern`, in the platform's listing
// order, "." and ".." left out. Empty when the folder cannot be listed.
std::vector<std::string> findNames(FileSystem& files, const std::string& folder, std::string_view pattern);

}  // namespace velmora
