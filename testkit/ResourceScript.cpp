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
};

std::string trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The comma-separated fields of a row, quotes kept.
std::vector<std::string> fields(const std::string& row) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (char c : row) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted)
            out.emplace_back();
        else
            out.back() += c;
    }
    for (std::string& field : out) field = trim(field);
    return out;
}

void setText(ResourceControl& control, const std::string& field) {
    control.literalText = field.size() >= 2 && field.front() == '"' && field.back() == '"';
    control.text = control.literalText ? field.substr(1, field.size() - 2) : field;
}

int idOf(const Resources& r, const std::string& name) {
    const auto found = r.ids.find(name);
    if (found != r.ids.end()) return found->second;
    return std::stoi(name, nullptr, 0);
}

ResourceControl parseRow(const Resources& r, const std::string& row) {
    ResourceControl control;
    if (row.rfind("CONTROL", 0) == 0) {
        const std::vector<std::string> f = fields(row.substr(7));
        if (f.size() < 4) throw std::runtime_error("short CONTROL row: " + row);
        setText(control, f[0]);
        control.id = idOf(r, f[1]);
        control.className = f[2].substr(1, f[2].size() - 2);
        std::istringstream styles(f[3]);
        std::string word, pending;
        while (styles >> word) {
            if (word == "|") continue;
            if (word == "NOT") {
                pending = "NOT ";
                continue;
            }
            control.styles.push_back(pending + word);
            pending.clear();
        }
    } else {  // ICON icon, id, x, y, cx, cy
        const std::vector<std::string> f = fields(row.substr(4));
        control.text = f.at(0);
        control.literalText = false;
        control.id = idOf(r, f.at(1));
        control.className = "Static";
        control.styles = {"SS_ICON"};
    }
    return control;
}

Resources parse() {
    Resources r;
    static const std::regex define(R"(^\s*#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|-?\d+)\s*$)");
    std::istringstream header(kResourceHeader);
    for (std::string line; std::getline(header, line);) {
        std::smatch m;
        if (std::regex_match(line, m, define)) r.ids[m[1]] = std::stoi(m[2], nullptr, 0);
    }

    static const std::regex dialog(R"(^(\w+)\s+DIALOGEX?\b.*)");
    static const std::regex string(R"re(^\s*(\w+)\s+"(.*)"\s*$)re");
    std::istringstream script(kResourceScript);
    std::vector<ResourceControl>* controls = nullptr;
    bool inStrings = false, inBody = false;
    std::string row;
    for (std::string line; std::getline(script, line);) {
        line = trim(line);
        std::smatch m;
        if (line.rfind("//", 0) == 0 || line.empty()) continue;
        if (!row.empty()) {
            row += " " + line;  // a row goes on after a trailing comma
        } else if (std::regex_match(line, m, dialog)) {
            controls = &r.dialogs[idOf(r, m[1])];
            inBody = false;
            continue;
        } else if (line == "STRINGTABLE") {
            inStrings = true;
            continue;
        } else if (line == "BEGIN") {
            inBody = controls != nullptr;
            continue;
        } else if (line == "END") {
            controls = inBody ? nullptr : controls;
            inStrings = inBody = false;
            continue;
        } else if (inStrings && std::regex_match(line, m, string)) {
            r.strings[idOf(r, m[1])] = m[2];
            continue;
        } else if (inBody && (line.rfind("CONTROL", 0) == 0 || line.rfind("ICON", 0) == 0)) {
            row = line;
        }
        if (row.empty() || row.back() == ',') continue;
        controls->push_back(parseRow(r, row));
        row.clear();
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
