#include "Json.h"

#include <windows.h>

#include <cstdio>

namespace vdrive {

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

std::wstring wide(std::string_view utf8Text) {
    if (utf8Text.empty()) return {};
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), static_cast<int>(utf8Text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), static_cast<int>(utf8Text.size()), result.data(), size);
    return result;
}

std::string quoted(std::wstring_view text) {
    std::string out = "\"";
    for (const char c : utf8(text)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonObject::key(std::string_view name) {
    if (!body_.empty()) body_ += ",";
    body_ += quoted(wide(name)) + ":";
}

JsonObject& JsonObject::add(std::string_view name, std::wstring_view text) {
    key(name);
    body_ += quoted(text);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, long long number) {
    key(name);
    body_ += std::to_string(number);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, bool flag) {
    key(name);
    body_ += flag ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::addRaw(std::string_view name, std::string_view json) {
    key(name);
    body_ += json;
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, const std::vector<std::wstring>& texts) {
    std::vector<std::string> items;
    for (const std::wstring& text : texts) items.push_back(quoted(text));
    return addRaw(name, jsonArray(items));
}

std::string jsonArray(const std::vector<std::string>& jsonItems) {
    std::string out = "[";
    for (size_t i = 0; i < jsonItems.size(); ++i) out += (i ? "," : "") + jsonItems[i];
    return out + "]";
}

}  // namespace vdrive
