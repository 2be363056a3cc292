#include "bench/Baselines.h"

#include <sys/stat.h>

#include <filesystem>

#include "base/CodePage1252.h"
#include "core/GameTable.h"
#include "core/ProfileFile.h"

namespace fs = std::filesystem;

namespace velmora::bench {

long plainCopy(const std::string& from, const std::string& to, bool withSessionMission) {
    long copied = 0;
    fs::create_directory(to);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
        // The path below `from`, cut as text: fs::relative would resolve
        // every path on the disk and bury the copy's own cost.
        const fs::path target = fs::path(to + entry.path().string().substr(from.size()));
        if (entry.is_directory()) {
            fs::create_directory(target);
            continue;
        }
        const std::string name = entry.path().filename().string();
        const bool wanted = endsWithIgnoreCase(name, ".dp") ||
                            (withSessionMission && name == kSessionMission && entry.path().parent_path() == from);
        if (!wanted) continue;
        fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
        ++copied;
    }
    return copied;
}

long statWalk(const std::vector<std::string>& roots) {
    long seen = 0;
    for (const std::string& root : roots) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
            struct stat info;
            if (::stat(entry.path().c_str(), &info) == 0) ++seen;
        }
    }
    return seen;
}

long readAndParse(const std::string& path) {
    std::string text;
    if (!platformFileSystem().readFile(path, text)) return -1;
    const ProfileFile profile(std::move(text));
    return static_cast<long>(profile.text().size());
}

long listNames(const std::string& folder) {
    long names = 0;
    for ([[maybe_unused]] const fs::directory_entry& entry : fs::directory_iterator(folder)) ++names;
    return names;
}

bool endsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && equalsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace velmora::bench
