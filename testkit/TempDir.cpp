#include "testkit/TempDir.h"

#include "base/CodePage1252.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/PathStyle.h"

namespace fs = std::filesystem;

namespace velmora::testkit {

std::string nativePath(std::string_view relative) {
    std::string path(relative);
    for (char& c : path)
        if (c == '/' || c == '\\') c = platformPathSeparator();
    return path;
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const std::string stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    std::error_code error;
    fs::path candidate;
    do candidate = fs::temp_directory_path(error) / ("velmora-test-" + stamp + "-" + std::to_string(counter++));
    while (!fs::create_directory(candidate, error));
    path_ = nativePath(candidate.string());
}

TempDir::~TempDir() {
    std::error_code error;
    // Read-only files made by a test would stop the removal on Windows.
    for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, error);
    fs::remove_all(path_, error);
}

std::string TempDir::operator/(std::string_view relative) const {
    return path_ + platformPathSeparator() + nativePath(relative);
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

bool writeText(const std::string& path, std::string_view text) {
    std::error_code error;
    const fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

std::map<std::string, std::string> readTree(const std::string& root) {
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        if (it->is_regular_file(error)) tree[fs::relative(it->path(), root).string()] = readText(it->path().string());
    return tree;
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

void makeReadOnly(const std::string& path, bool readOnly) {
    std::error_code error;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, error);
}

std::string utf16le(std::string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) {
        const char16_t unit = utf16From1252(static_cast<unsigned char>(c));
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

}  // namespace velmora::testkit
