// How boxes list the files they speak of.
#include "core/Text.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FileLists, NameTheFirstFiveThenCountTheRest) {
    const std::vector<std::string> names = {"a", "b", "c", "d", "e", "f", "g"};
    const struct {
        size_t count;
        const char* text;
    } rows[] = {{0, ""}, {1, "a\n"}, {5, "a\nb\nc\nd\ne\n"}, {6, "a\nb\nc\nd\ne\nand 1 more\n"},
                {7, "a\nb\nc\nd\ne\nand 2 more\n"}};
    for (const auto& row : rows)
        EXPECT_EQ(firstNamesThenMore({names.begin(), names.begin() + static_cast<long>(row.count)}), row.text) << row.count;
}

}  // namespace
}  // namespace velmora
