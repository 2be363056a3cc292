// One JSON object on one line, for the scenario scripts to parse. Texts come
// from the windows as UTF-16 and go out as UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vdrive {

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view utf8Text);
// `text` as a quoted JSON string.
std::string quoted(std::wstring_view text);

class JsonObject {
public:
    JsonObject& add(std::string_view key, std::wstring_view text);
    JsonObject& add(std::string_view key, const wchar_t* text) { return add(key, std::wstring_view(text)); }
    JsonObject& add(std::string_view key, long long number);
    JsonObject& add(std::string_view key, int number) { return add(key, static_cast<long long>(number)); }
    JsonObject& add(std::string_view key, bool flag);
    // `json` is already JSON (an object or an array).
    JsonObject& addRaw(std::string_view key, std::string_view json);
    JsonObject& add(std::string_view key, const std::vector<std::wstring>& texts);

    std::string str() const { return "{" + body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_;
};

std::string jsonArray(const std::vector<std::string>& jsonItems);

}  // namespace vdrive
