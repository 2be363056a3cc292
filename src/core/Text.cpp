#include "core/Text.h"

#include <algorithm>

namespace velmora {

std::string_view trimmedProfileSpace(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isProfileSpace(text[begin])) ++begin;
    while (end > begin && isProfileSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string clipToBuffer(std::string_view text, size_t limit) {
    if (limit == 0) return {};
    return std::string(text.substr(0, std::min(text.size(), limit - 1)));
}

std::string decimal(long long value) { return std::to_string(value); }

std::string firstNamesThenMore(const std::vector<std::string>& names) {
    constexpr size_t kNamed = 5;
    std::string text;
    for (size_t i = 0; i < names.size() && i < kNamed; ++i) text += names[i] + "\n";
    if (names.size() > kNamed) text += "and " + decimal(static_cast<long long>(names.size() - kNamed)) + " more\n";
    return text;
}

}  // namespace velmora
