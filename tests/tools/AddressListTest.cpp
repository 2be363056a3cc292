// The address list: classification, order and STATIC_IP.
#include "tools/AddressList.h"

#include <gtest/gtest.h>

#include "core/PrivateProfile.h"
#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

class AddressListTest : public ::testing::Test {
protected:
    std::vector<std::string> fill(std::vector<std::uint32_t> addresses, const std::string& staticIp = "") {
        app.hosts.list = std::move(addresses);
        if (!staticIp.empty())
            writeProfileString(app.state.files(), "MAIN", "STATIC_IP", staticIp, app.state.settingsPath);
        fillAddressList(app.state);
        return app.dialog.listEntries(IDC_IP_ADDRESS);
    }
    std::string selected() { return app.dialog.text(IDC_IP_ADDRESS, 260); }
    testkit::TestApp app;
};

TEST_F(AddressListTest, PublicAddressesComeFirstAndTheFirstIsSelected) {
    EXPECT_EQ(fill({packAddress(192, 168, 0, 5), packAddress(24, 1, 2, 3)}),
              (std::vector<std::string>{"24.1.2.3", "192.168.0.5"}));
    EXPECT_EQ(selected(), "24.1.2.3");
}

TEST_F(AddressListTest, PublicOnesReverseAndPrivateOnesKeepTheirOrder) {
    EXPECT_EQ(fill({packAddress(10, 0, 0, 2), packAddress(172, 20, 1, 1), packAddress(62, 1, 1, 1),
                    packAddress(80, 2, 2, 2)}),
              (std::vector<std::string>{"80.2.2.2", "62.1.1.1", "10.0.0.2", "172.20.1.1"}));
}

TEST(AddressClasses, PrivateRanges) {
    EXPECT_FALSE(isPrivateAddress(packAddress(172, 15, 0, 1)));
    EXPECT_FALSE(isPrivateAddress(packAddress(172, 32, 0, 1)));
    EXPECT_TRUE(isPrivateAddress(packAddress(172, 16, 0, 1)));
    EXPECT_TRUE(isPrivateAddress(packAddress(172, 31, 255, 1)));
    EXPECT_TRUE(isPrivateAddress(packAddress(169, 254, 3, 4)));
    EXPECT_FALSE(isPrivateAddress(packAddress(169, 253, 0, 1)));
    EXPECT_FALSE(isPrivateAddress(packAddress(127, 0, 0, 1)));
    EXPECT_EQ(dottedAddress(packAddress(255, 0, 10, 1)), "255.0.10.1");
}

TEST_F(AddressListTest, OnlyLoopback) {
    EXPECT_EQ(fill({packAddress(127, 0, 0, 1)}), std::vector<std::string>{"127.0.0.1"});
    EXPECT_EQ(selected(), "127.0.0.1");
}

TEST_F(AddressListTest, AStaticAddressOfSevenCharactersOrMoreComesFirst) {
    EXPECT_EQ(fill({packAddress(24, 1, 2, 3)}, "1.2.3.4"), (std::vector<std::string>{"1.2.3.4", "24.1.2.3"}));
    EXPECT_EQ(selected(), "1.2.3.4");
}

TEST_F(AddressListTest, AShortStaticAddressIsIgnored) {
    EXPECT_EQ(fill({packAddress(24, 1, 2, 3)}, "1.2.3."), std::vector<std::string>{"24.1.2.3"});
}

TEST_F(AddressListTest, AStaticAddressIsListedEvenTwiceAndCutTo31Characters) {
    EXPECT_EQ(fill({packAddress(24, 1, 2, 3)}, "24.1.2.3"), (std::vector<std::string>{"24.1.2.3", "24.1.2.3"}));
    app.dialog.resetList(IDC_IP_ADDRESS);
    const std::string name = "host.example.invalid.with-a-long-name";
    EXPECT_EQ(fill({}, name).at(0), name.substr(0, 31));
}

TEST_F(AddressListTest, NothingToShow) {
    EXPECT_TRUE(fill({}).empty());
    EXPECT_EQ(app.dialog.listSelection(IDC_IP_ADDRESS), -1);
    EXPECT_EQ(selected(), "");
}

}  // namespace
}  // namespace velmora
