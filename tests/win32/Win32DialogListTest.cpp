// The Win32 dialog port on the real controls of the main dialog, side by side
// with the in-memory dialog the handlers' tests run on: both must show the
// handlers the same lists, radio buttons and check boxes.
#include "platform/win32/Win32Dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "testkit/InMemoryDialog.h"
#include "win32/DialogWindow.h"

namespace velmora {
namespace {

class Win32DialogListTest : public ::testing::Test {
protected:
    testkit::DialogWindow window{IDD_MAIN};
    Win32Dialog real{window.handle()};
    testkit::InMemoryDialog memory;

    // Adds every name to list `id` of both dialogs, checking that each lands
    // at the same index.
    void addToBoth(int id, const std::vector<std::string>& names) {
        for (const std::string& name : names)
            EXPECT_EQ(real.addListEntry(id, name), memory.addListEntry(id, name)) << name;
    }
};

// Names of letters, digits, spaces and dots. Windows sorts with its word
// sort, where a hyphen weighs next to nothing and '_' comes before the
// digits; the in-memory list compares folded bytes, so names with other
// punctuation are ordered differently by the two and are left out here.
TEST_F(Win32DialogListTest, SortedListOrdersWithoutRegardToCaseAsTheInMemoryList) {
    addToBoth(IDC_MISSION, {"Zulu.mis", "alpha.mis", "Original mp.mis file", "Beta.mis", "beta2.mis", "ALPHA2.mis",
                            "Mission 9.mis", "mission 10.mis", "m07.mis", "m.mis", "m 07.mis", "Original.mis"});
    EXPECT_EQ(real.listEntries(IDC_MISSION), memory.listEntries(IDC_MISSION));
}

TEST_F(Win32DialogListTest, ListTextIsTheSelectedEntryOrEmpty) {
    for (DialogPort* port : {static_cast<DialogPort*>(&real), static_cast<DialogPort*>(&memory)}) {
        SCOPED_TRACE(port == &real ? "Win32" : "in memory");
        port->addListEntry(IDC_MISSION, "Original mp.mis file");
        port->addListEntry(IDC_MISSION, "Beta.mis");
        EXPECT_EQ(port->text(IDC_MISSION, 260), "") << "nothing is selected yet";
        EXPECT_EQ(port->listSelection(IDC_MISSION), -1);

        port->selectListEntry(IDC_MISSION, 1);
        EXPECT_EQ(port->text(IDC_MISSION, 260), "Original mp.mis file");
        EXPECT_EQ(port->text(IDC_MISSION, 9), "Original") << "a buffer of 9 bytes keeps 8";
        EXPECT_EQ(port->listSelection(IDC_MISSION), 1);

        port->setText(IDC_MISSION, "Beta.mis");
        EXPECT_EQ(port->text(IDC_MISSION, 260), "Original mp.mis file") << "a list takes no typed text";

        port->selectListEntry(IDC_MISSION, 2);
        EXPECT_EQ(port->text(IDC_MISSION, 260), "") << "an index past the end clears the selection";
        EXPECT_EQ(port->listSelection(IDC_MISSION), -1);

        port->selectListEntry(IDC_MISSION, 0);
        port->resetList(IDC_MISSION);
        EXPECT_EQ(port->text(IDC_MISSION, 260), "");
        EXPECT_TRUE(port->listEntries(IDC_MISSION).empty());
    }
}

TEST_F(Win32DialogListTest, FindsAWholeEntryWithoutRegardToCase) {
    addToBoth(IDC_MISSION, {"Original mp.mis file", "Beta.mis", "beta.mis.bak", "alpha.mis"});
    for (const char* wanted : {"BETA.MIS", "beta.mis", "Beta", "beta.mis.BAK", "ORIGINAL MP.MIS FILE", "alpha.mis ",
                               "gamma.mis", ""}) {
        EXPECT_EQ(real.findListEntry(IDC_MISSION, wanted), memory.findListEntry(IDC_MISSION, wanted)) << wanted;
    }
    EXPECT_EQ(real.findListEntry(IDC_MISSION, "BETA.MIS"), 1);
    EXPECT_EQ(real.findListEntry(IDC_MISSION, "Beta"), -1) << "a prefix is not a match";
}

TEST_F(Win32DialogListTest, UnsortedListKeepsEntriesWherePut) {
    for (DialogPort* port : {static_cast<DialogPort*>(&real), static_cast<DialogPort*>(&memory)}) {
        SCOPED_TRACE(port == &real ? "Win32" : "in memory");
        EXPECT_EQ(port->addListEntry(IDC_IP_ADDRESS, "192.168.1.5"), 0);
        EXPECT_EQ(port->addListEntry(IDC_IP_ADDRESS, "10.0.0.2"), 1);
        EXPECT_EQ(port->insertListEntry(IDC_IP_ADDRESS, 0, "203.0.113.7"), 0);
        EXPECT_EQ(port->insertListEntry(IDC_IP_ADDRESS, 9, "127.0.0.1"), 3) << "past the end appends";
        port->selectListEntry(IDC_IP_ADDRESS, 0);
        EXPECT_EQ(port->text(IDC_IP_ADDRESS, 260), "203.0.113.7");
        EXPECT_EQ(port->listEntries(IDC_IP_ADDRESS),
                  (std::vector<std::string>{"203.0.113.7", "192.168.1.5", "10.0.0.2", "127.0.0.1"}));
    }
}

}  // namespace
}  // namespace velmora
