#include "testkit/ResourceScript.h"

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace velmora::testkit {

extern const char kResourceScript[];
extern const char kResourceHeader[];

namespace {

struct Resources {
    std::map<std::string, int> ids{{"IDOK", 1}, {"IDCANCEL", 2}, {"IDC_STATIC", -1}};
    std::map<int, std::vector<ResourceControl>> dialogs;
    std::map<int, std::string> strings;

    int id(const std::string& name) const {
        const auto found = ids.find(name);
        return found != ids.end() ? found->second : std::stoi(name, nullptr, 0);
    }
};

Resources parse() {
    Resources r;
    static const std::regex define(R"(^\s*#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|-?\d+)\s*$)");
    std::istringstream header(kResourceHeader);
    for (std::string line; std::getline(header, line);)
        if (std::smatch m; std::regex_match(line, m, define)) r.ids[m[1]] = std::stoi(m[2], nullptr, 0);

    // CONTROL text, id, class, styles, ...: the text a literal or a macro's name.
    static const std::regex control(
        R"re(^\s*CONTROL\s+(?:"([^"]*)"|(\w+))\s*,\s*(\w+)\s*,\s*"(\w+)"\s*,\s*([^,]*?)\s*,.*)re");
    static const std::regex icon(R"(^\s*ICON\s+(\w+)\s*,\s*(\w+)\s*,.*)");
    static const std::regex dialog(R"(^(\w+)\s+DIALOGEX?\b.*)");
    static const std::regex string(R"re(^\s*(\w+)\s+"(.*)"\s*$)re");
    static const std::regex goesOn(R"(.*,\s*)"), bar(R"(\s*\|\s*)");  // a row goes on after a trailing comma
    std::istringstream script(kResourceScript);
    std::vector<ResourceControl>* controls = nullptr;
    bool inStrings = false;
    for (std::string line, more; std::getline(script, line);) {
        while (std::regex_match(line, goesOn) && std::getline(script, more)) line += " " + more;
        std::erase(line, '\r');  // a script saved with CR LF line ends
        std::smatch m;
        if (std::regex_match(line, m, dialog)) {
            controls = &r.dialogs[r.id(m[1])];
        } else if (line.rfind("STRINGTABLE", 0) == 0) {
            inStrings = true;
        } else if (line.rfind("END", 0) == 0) {
            controls = nullptr;
            inStrings = false;
        } else if (inStrings && std::regex_match(line, m, string)) {
            r.strings[r.id(m[1])] = m[2];
        } else if (controls && std::regex_match(line, m, control)) {
            ResourceControl c{m[1].matched ? m[1].str() : m[2].str(), m[1].matched, r.id(m[3]), m[4], {}};
            const std::string styles = m[5];
            c.styles.assign(std::sregex_token_iterator(styles.begin(), styles.end(), bar, -1), {});
            controls->push_back(c);
        } else if (controls && std::regex_match(line, m, icon)) {
            controls->push_back(ResourceControl{m[1], false, r.id(m[2]), "Static", {"SS_ICON"}});
        }
    }
    return r;
}

const Resources& resources() {
    static const Resources parsed = parse();
    return parsed;
}

}  // namespace

bool ResourceControl::has(const std::string& style) const {
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

const std::vector<ResourceControl>& resourceDialog(int id) {
    const auto found = resources().dialogs.find(id);
    if (found == resources().dialogs.end() || found->second.empty())
        throw std::runtime_error("Velmora.rc has no dialog " + std::to_string(id));
    return found->second;
}

std::string resourceString(int id) {
    const auto found = resources().strings.find(id);
    return found == resources().strings.end() ? std::string() : found->second;
}

}  // namespace velmora::testkit
