// The two sides of the comparison: the Win32 private-profile functions and
// Velmora's four profile file operations, each run on its own file.
#pragma once

#include <string>

#include "differential/ProfileCases.h"

namespace velmora::differential {

struct StringRead {
    std::string text;
    long count = 0;  // the count the call returned
    bool operator==(const StringRead& other) const { return text == other.text && count == other.count; }
};

// Through GetPrivateProfileStringA and friends, each reading the file as it
// is on disk.
StringRead windowsReadString(const Op& read, const std::string& path);
int windowsReadInt(const Op& read, const std::string& path);
void windowsWrite(const Op& write, const std::string& path);

// Through getProfileString, getProfileInt, writeProfileString and
// writeProfileSection.
StringRead velmoraReadString(const Op& read, const std::string& path);
int velmoraReadInt(const Op& read, const std::string& path);
void velmoraWrite(const Op& write, const std::string& path);

// Test files: written raw, read raw, removed.
void putFile(const std::string& path, const std::string& text);
std::string fileContents(const std::string& path);
void removeFile(const std::string& path);

}  // namespace velmora::differential
