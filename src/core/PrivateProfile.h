// The private-profile operations on a file, as the settings file and the game
// options call them; the INI engine underneath is ProfileFile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/AtomicFile.h"
#include "platform/Files.h"

namespace velmora {

class ProfileFile;

// The four private-profile operations on a file, each complete in itself: a
// write reads the file, changes what it must and replaces the file before it
// returns, so the next read anywhere sees it.
std::string getProfileString(FileSystem& files, std::string_view section, std::string_view key,
                             std::string_view defaultValue, size_t size, const std::string& path);
int getProfileInt(FileSystem& files, std::string_view section, std::string_view key, int defaultValue,
                  const std::string& path);
bool writeProfileString(FileSystem& files, std::string_view section, std::string_view key,
                        std::string_view value, const std::string& path);
bool writeProfileSection(FileSystem& files, std::string_view section, const std::vector<std::string>& lines,
                         const std::string& path);

// Saves an edited profile over its file in one step. False, leaving the file
// as it was, when it cannot be replaced.
bool saveProfile(FileSystem& files, const ProfileFile& profile, const std::string& path,
                 Durability durability = Durability::Flushed);

}  // namespace velmora
