#include "gfx/set1_scancodes.h"

#include <array>
#include <cstdint>

namespace gfx {
namespace {

struct Mapping {
    std::uint8_t usage;
    std::uint8_t set1;
};

// USB HID usage -> set-1, in usage order. Keys whose set-1 code is E0-prefixed are listed by
// the byte after E0, which is what a program testing "is Up down" asks for.
constexpr Mapping mappings[] = {
    {4, 30},    {5, 48},    {6, 46},    {7, 32},    {8, 18},
    {9, 33},  // A-F
    {10, 34},   {11, 35},   {12, 23},   {13, 36},   {14, 37},
    {15, 38},  // G-L
    {16, 50},   {17, 49},   {18, 24},   {19, 25},   {20, 16},
    {21, 19},  // M-R
    {22, 31},   {23, 20},   {24, 22},   {25, 47},   {26, 17},
    {27, 45},              // S-X
    {28, 21},   {29, 44},  // Y, Z
    {30, 2},    {31, 3},    {32, 4},    {33, 5},    {34, 6},
    {35, 7},                                                   // 1-6
    {36, 8},    {37, 9},    {38, 10},   {39, 11},              // 7-0
    {40, 28},   {41, 1},    {42, 14},   {43, 15},   {44, 57},  // Enter Esc Bksp Tab Space
    {45, 12},   {46, 13},   {47, 26},   {48, 27},   {49, 43},
    {50, 43},  // - = [ ] \ non-US #
    {51, 39},   {52, 40},   {53, 41},   {54, 51},   {55, 52},
    {56, 53},  // ; ' ` , . /
    {57, 58},  // Caps Lock
    {58, 59},   {59, 60},   {60, 61},   {61, 62},   {62, 63},
    {63, 64},  // F1-F6
    {64, 65},   {65, 66},   {66, 67},   {67, 68},   {68, 87},
    {69, 88},                          // F7-F12
    {70, 55},   {71, 70},   {72, 69},  // PrtSc ScrLk Pause
    {73, 82},   {74, 71},   {75, 73},   {76, 83},   {77, 79},
    {78, 81},                                      // Ins Home PgUp Del End PgDn
    {79, 77},   {80, 75},   {81, 80},   {82, 72},  // Right Left Down Up
    {83, 69},   {84, 53},   {85, 55},   {86, 74},   {87, 78},
    {88, 28},  // NumLk KP/ * - + Enter
    {89, 79},   {90, 80},   {91, 81},   {92, 75},   {93, 76},
    {94, 77},                                                  // KP1-KP6
    {95, 71},   {96, 72},   {97, 73},   {98, 82},   {99, 83},  // KP7-KP9 KP0 KP.
    {100, 86},  {101, 93},  {103, 89},                         // non-US \, Menu, KP=
    {104, 100}, {105, 101}, {106, 102}, {107, 103}, {108, 104},
    {109, 105},  // F13-F18
    {110, 106}, {111, 107}, {112, 108}, {113, 109}, {114, 110},
    {115, 118},                                                  // F19-F24
    {135, 115}, {136, 112}, {137, 125}, {138, 121}, {139, 123},  // Ro Kana Yen Henkan Muhenkan
    {224, 29},  {225, 42},  {226, 56},  {227, 91},               // left Ctrl Shift Alt GUI
    {228, 29},  {229, 54},  {230, 56},  {231, 92},               // right Ctrl Shift Alt GUI
};

constexpr std::array<std::uint8_t, last_mapped_usb_usage + 1> make_table() {
    std::array<std::uint8_t, last_mapped_usb_usage + 1> table{};
    for (const Mapping& m : mappings)
        table[m.usage] = m.set1;
    return table;
}

constexpr auto table = make_table();

}  // namespace

int set1_from_usb_usage(int usage) {
    if (usage < 0 || usage > last_mapped_usb_usage) return 0;
    return table[static_cast<std::size_t>(usage)];
}

}  // namespace gfx
