#include "core/PrivateProfile.h"

#include "core/ProfileFile.h"

namespace velmora {

bool saveProfile(FileSystem& files, const ProfileFile& profile, const std::string& path, Durability durability) {
    return replaceFileContents(files, path, profile.text(), durability);
}

namespace {

// Loads a file for a write. A file that exists but cannot be read is never
// written: rewriting it from an empty profile would lose what it holds.
bool loadForWrite(FileSystem& files, const std::string& path, ProfileFile& profile) {
    std::string text;
    if (!files.readFile(path, text)) {
        if (files.exists(path)) return false;
        text.clear();
    }
    profile = ProfileFile(std::move(text));
    return true;
}

}  // namespace

std::string getProfileString(FileSystem& files, std::string_view section, std::string_view key,
                             std::string_view defaultValue, size_t size, const std::string& path) {
    return ProfileFile::load(files, path).getString(section, key, defaultValue, size);
}

int getProfileInt(FileSystem& files, std::string_view section, std::string_view key, int defaultValue,
                  const std::string& path) {
    return ProfileFile::load(files, path).getInt(section, key, defaultValue);
}

bool writeProfileString(FileSystem& files, std::string_view section, std::string_view key,
                        std::string_view value, const std::string& path) {
    ProfileFile profile;
    if (!loadForWrite(files, path, profile)) return false;
    if (!profile.setString(section, key, value)) return true;
    return saveProfile(files, profile, path);
}

bool writeProfileSection(FileSystem& files, std::string_view section, const std::vector<std::string>& lines,
                         const std::string& path) {
    ProfileFile profile;
    if (!loadForWrite(files, path, profile)) return false;
    if (!profile.setSection(section, lines)) return true;
    return saveProfile(files, profile, path);
}

}  // namespace velmora
