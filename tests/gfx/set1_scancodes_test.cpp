// The set-1 table, checked against the USB HID usage numbers (HID Usage Tables, keyboard page)
// and the PC set-1 make codes, not against the table itself.

#include "gfx/set1_scancodes.h"

#include <gtest/gtest.h>

namespace {

struct Set1Case {
    const char* key;
    int usage;
    int set1;
};

class Set1Table : public ::testing::TestWithParam<Set1Case> {};

TEST_P(Set1Table, MapsTheKey) {
    const Set1Case c = GetParam();
    EXPECT_EQ(gfx::set1_from_usb_usage(c.usage), c.set1) << c.key << " (usage " << c.usage << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Set1Table,
    ::testing::Values(
        Set1Case{"A", 4, 30}, Set1Case{"L", 15, 38}, Set1Case{"M", 16, 50}, Set1Case{"P", 19, 25},
        Set1Case{"Q", 20, 16}, Set1Case{"Z", 29, 44}, Set1Case{"1", 30, 2}, Set1Case{"9", 38, 10},
        Set1Case{"0", 39, 11}, Set1Case{"Enter", 40, 28}, Set1Case{"Escape", 41, 1},
        Set1Case{"Backspace", 42, 14}, Set1Case{"Tab", 43, 15}, Set1Case{"Space", 44, 57},
        Set1Case{"F1", 58, 59}, Set1Case{"F10", 67, 68}, Set1Case{"F11", 68, 87},
        Set1Case{"F12", 69, 88}, Set1Case{"Insert", 73, 82}, Set1Case{"Home", 74, 71},
        Set1Case{"PageUp", 75, 73}, Set1Case{"Delete", 76, 83}, Set1Case{"End", 77, 79},
        Set1Case{"PageDown", 78, 81}, Set1Case{"Right", 79, 77}, Set1Case{"Left", 80, 75},
        Set1Case{"Down", 81, 80}, Set1Case{"Up", 82, 72}, Set1Case{"KP1 (End)", 89, 79},
        Set1Case{"KP2 (Down)", 90, 80}, Set1Case{"KP3 (PgDn)", 91, 81},
        Set1Case{"KP4 (Left)", 92, 75}, Set1Case{"KP6 (Right)", 94, 77},
        Set1Case{"KP7 (Home)", 95, 71}, Set1Case{"KP8 (Up)", 96, 72},
        Set1Case{"KP9 (PgUp)", 97, 73}, Set1Case{"KP0 (Ins)", 98, 82},
        Set1Case{"KP. (Del)", 99, 83}, Set1Case{"KP Enter", 88, 28}, Set1Case{"Left Ctrl", 224, 29},
        Set1Case{"Left Shift", 225, 42}, Set1Case{"Left Alt", 226, 56},
        Set1Case{"Right Ctrl", 228, 29}, Set1Case{"Right Shift", 229, 54},
        Set1Case{"Right Alt", 230, 56}, Set1Case{"none", 0, 0}, Set1Case{"negative", -1, 0},
        Set1Case{"Mute", 127, 0}, Set1Case{"past the table", 232, 0},
        Set1Case{"far past", 100000, 0}));

TEST(Set1Table, EveryCodeIsAScancodeTheFacilityCanReport) {
    for (int usage = 0; usage <= gfx::last_mapped_usb_usage; ++usage) {
        const int set1 = gfx::set1_from_usb_usage(usage);
        EXPECT_TRUE(set1 >= 0 && set1 < 128) << "usage " << usage << " -> " << set1;
    }
}

}  // namespace
