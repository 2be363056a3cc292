// Where the games record their installation.
//
// On Windows this is the registry (HKEY_LOCAL_MACHINE, 32-bit view); on other
// platforms a table that tests and the demo fill. Nothing here is ever
// written.
#pragma once

#include <optional>
#include <string>

namespace velmora {

class GameRegistry {
public:
    virtual ~GameRegistry() = default;
    // The "CurrentDirectory" value of the key at `keyPath` under
    // HKEY_LOCAL_MACHINE. Nothing when the key does not open, or the value is
    // missing, empty, not text, or longer than 519 bytes.
    virtual std::optional<std::string> currentDirectory(const std::string& keyPath) = 0;
};

GameRegistry& platformGameRegistry();

}  // namespace velmora

#include <map>

namespace velmora {

// A registry that answers from a table of key paths (compared without regard
// to case, as registry keys are): the registry of platforms without one, and
// of tests.
class TableGameRegistry final : public GameRegistry {
public:
    void set(const std::string& keyPath, const std::string& currentDirectory) {
        table_[fold(keyPath)] = currentDirectory;
    }
    void clear() { table_.clear(); }
    std::optional<std::string> currentDirectory(const std::string& keyPath) override {
        const auto found = table_.find(fold(keyPath));
        if (found == table_.end() || found->second.empty() || found->second.size() >= 520) return std::nullopt;
        return found->second;
    }

private:
    static std::string fold(std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        return text;
    }
    std::map<std::string, std::string> table_;
};

}  // namespace velmora
