// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace velmora::testkit {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // `path()` joined with `relative`, whose '/' become the platform's separator.
    std::string operator/(std::string_view relative) const;

private:
    std::string path_;
};

// Helpers on real files for tests, paths given with the platform's separator.
std::string readText(const std::string& path);      // "" when unreadable
bool writeText(const std::string& path, std::string_view text);  // makes missing folders
bool fileExists(const std::string& path);
void makeReadOnly(const std::string& path, bool readOnly = true);
// Every file under `root`: its path relative to `root`, and its contents.
std::map<std::string, std::string> readTree(const std::string& root);
// Converts '/' in `relative` to the platform's separator.
std::string nativePath(std::string_view relative);
// The id of a process started and waited for: no live process has it while
// the tests run. For the temporary files of a writer that is gone.
unsigned long finishedProcessId();
// Windows: copies `relative`, beside this test program, to `to`, making its folders; returns `to`.
std::string copyBesideMe(const char* relative, const std::string& to);
// A file saved as "Unicode": the mark FF FE, then `text` as UTF-16LE, each
// byte of it read as the character of code page 1252 (ASCII for tests
// that also run on Windows, whose page may be another).
std::string utf16le(std::string_view text);

}  // namespace velmora::testkit
