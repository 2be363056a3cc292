// The plain work each operation is measured against: what copying the same
// files, looking at the same files or parsing the same mission costs with
// nothing else around it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::bench {

// Copies every DP file under `from` to the same place under `to`, over any
// file already there, and multiplayer.mis at its top when
// `withSessionMission`, as std::filesystem copies files. Returns how many it
// copied.
long plainCopy(const std::string& from, const std::string& to, bool withSessionMission);

// stat()s every file and folder under each root. Returns how many.
long statWalk(const std::vector<std::string>& roots);

// Reads the file and parses it once with ProfileFile. Returns its size.
long readAndParse(const std::string& path);

// Lists a folder. Returns how many names it holds.
long listNames(const std::string& folder);

// Whether `text` ends in `suffix`, without regard to case.
bool endsWithIgnoreCase(std::string_view text, std::string_view suffix);

}  // namespace velmora::bench
