// The address list: classification, order and STATIC_IP.
#include "tools/AddressList.h"

#include <gtest/gtest.h>

#include "core/PrivateProfile.h"
#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using List = std::vector<std::string>;

// Public addresses go first in reverse order, private ones keep theirs; a
// STATIC_IP of seven characters or more, cut to 31, goes before them all.
TEST(AddressListTest, PublicReversedThenPrivateAfterTheStaticAddressAndTheFirstSelected) {
    const std::uint32_t p1 = packAddress(24, 1, 2, 3), p2 = packAddress(62, 1, 1, 1), p3 = packAddress(80, 2, 2, 2);
    const std::uint32_t q1 = packAddress(10, 0, 0, 2), q2 = packAddress(172, 20, 1, 1), q3 = packAddress(192, 168, 0, 5);
    const struct {
        std::vector<std::uint32_t> addresses;
        const char* staticIp;
        List expected;
    } rows[] = {
        {{q3, p1}, "", {"24.1.2.3", "192.168.0.5"}},
        {{q1, q2, p2, p3, p1, q3}, "", {"24.1.2.3", "80.2.2.2", "62.1.1.1", "10.0.0.2", "172.20.1.1", "192.168.0.5"}},
        {{packAddress(127, 0, 0, 1)}, "", {"127.0.0.1"}},
        {{p1}, "1.2.3.4", {"1.2.3.4", "24.1.2.3"}},
        {{p1}, "1.2.3.", {"24.1.2.3"}},
        {{p1}, "24.1.2.3", {"24.1.2.3", "24.1.2.3"}},
        {{}, "host.example.invalid.with-a-long-name", {"host.example.invalid.with-a-lon"}},
        {{}, "", {}},
    };
    for (const auto& row : rows) {
        testkit::TestApp app;
        app.hosts.list = row.addresses;
        if (*row.staticIp) writeProfileString(app.state.files(), "MAIN", "STATIC_IP", row.staticIp, app.state.settingsPath);
        fillAddressList(app.state);
        EXPECT_EQ(app.dialog.listEntries(IDC_IP_ADDRESS), row.expected);
        EXPECT_EQ(app.dialog.text(IDC_IP_ADDRESS, 260), row.expected.empty() ? "" : row.expected[0]);
        EXPECT_EQ(app.dialog.listSelection(IDC_IP_ADDRESS), row.expected.empty() ? -1 : 0);
    }
}

TEST(AddressClasses, PrivateRanges) {
    const struct {
        unsigned a, b;
        bool isPrivate;
    } rows[] = {{172, 15, false}, {172, 16, true}, {172, 31, true}, {172, 32, false}, {169, 253, false},
                {169, 254, true}, {127, 0, false},  {10, 9, true},    {11, 0, false},   {192, 168, true},
                {192, 169, false}, {191, 168, false}};
    for (const auto& row : rows)
        EXPECT_EQ(isPrivateAddress(packAddress(row.a, row.b, 255, 1)), row.isPrivate) << row.a << "." << row.b;
    EXPECT_EQ(dottedAddress(packAddress(255, 0, 10, 1)), "255.0.10.1");
}

}  // namespace
}  // namespace velmora
