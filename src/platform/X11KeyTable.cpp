#include "platform/X11KeyTable.h"

#include <array>

namespace tolvane::X11KeyTable {

namespace {

// The names are those of the xkeyboard-config keycodes files: letters, digits and punctuation by
// row (E the digit row, D, C, B the letter rows) and column, the others by a word.
constexpr std::array<std::string_view, codeBound> names()
{
    std::array<std::string_view, codeBound> table {};
    table[0] = "AC01"; // A
    table[1] = "AC02"; // S
    table[2] = "AC03"; // D
    table[3] = "AC04"; // F
    table[4] = "AC06"; // H
    table[5] = "AC05"; // G
    table[6] = "AB01"; // Z
    table[7] = "AB02"; // X
    table[8] = "AB03"; // C
    table[9] = "AB04"; // V
    table[11] = "AB05"; // B
    table[12] = "AD01"; // Q
    table[13] = "AD02"; // W
    table[14] = "AD03"; // E
    table[15] = "AD04"; // R
    table[16] = "AD06"; // Y
    table[17] = "AD05"; // T
    table[18] = "AE01"; // 1
    table[19] = "AE02"; // 2
    table[20] = "AE03"; // 3
    table[21] = "AE04"; // 4
    table[22] = "AE06"; // 6
    table[23] = "AE05"; // 5
    table[24] = "AE12"; // =
    table[25] = "AE09"; // 9
    table[26] = "AE07"; // 7
    table[27] = "AE11"; // -
    table[28] = "AE08"; // 8
    table[29] = "AE10"; // 0
    table[30] = "AD12"; // ]
    table[31] = "AD09"; // O
    table[32] = "AD07"; // U
    table[33] = "AD11"; // [
    table[34] = "AD08"; // I
    table[35] = "AD10"; // P
    table[36] = "RTRN";
    table[37] = "AC09"; // L
    table[38] = "AC07"; // J
    table[39] = "AC11"; // '
    table[40] = "AC08"; // K
    table[41] = "AC10"; // ;
    table[42] = "BKSL"; // backslash (AC12 on ISO keyboards is the same key)
    table[43] = "AB08"; // ,
    table[44] = "AB10"; // /
    table[45] = "AB06"; // N
    table[46] = "AB07"; // M
    table[47] = "AB09"; // .
    table[48] = "TAB";
    table[49] = "SPCE";
    table[50] = "TLDE"; // `
    table[51] = "BKSP";
    table[53] = "ESC";
    // Command is the Super key on PC keyboards; Option is Alt.
    table[54] = "RWIN";
    table[55] = "LWIN";
    table[56] = "LFSH";
    table[57] = "CAPS";
    table[58] = "LALT";
    table[59] = "LCTL";
    table[60] = "RTSH";
    table[61] = "RALT";
    table[62] = "RCTL";
    table[65] = "KPDL";
    table[67] = "KPMU";
    table[69] = "KPAD";
    // Keypad Clear sits where PC keyboards have Num Lock.
    table[71] = "NMLK";
    table[75] = "KPDV";
    table[76] = "KPEN";
    table[78] = "KPSU";
    table[81] = "KPEQ";
    table[82] = "KP0";
    table[83] = "KP1";
    table[84] = "KP2";
    table[85] = "KP3";
    table[86] = "KP4";
    table[87] = "KP5";
    table[88] = "KP6";
    table[89] = "KP7";
    table[91] = "KP8";
    table[92] = "KP9";
    table[96] = "FK05";
    table[97] = "FK06";
    table[98] = "FK07";
    table[99] = "FK03";
    table[100] = "FK08";
    table[101] = "FK09";
    table[103] = "FK11";
    table[105] = "FK13";
    table[106] = "FK16";
    table[107] = "FK14";
    table[109] = "FK10";
    table[111] = "FK12";
    table[113] = "FK15";
    // Help sits where PC keyboards have Insert.
    table[114] = "INS";
    table[115] = "HOME";
    table[116] = "PGUP";
    table[117] = "DELE";
    table[118] = "FK04";
    table[119] = "END";
    table[120] = "FK02";
    table[121] = "PGDN";
    table[122] = "FK01";
    table[123] = "LEFT";
    table[124] = "RGHT";
    table[125] = "DOWN";
    table[126] = "UP";
    return table;
}

constexpr std::array<std::string_view, codeBound> table = names();

} // namespace

std::optional<std::string_view> keyNameForVirtualKey(int virtualKeyCode)
{
    if (virtualKeyCode < 0 || virtualKeyCode >= codeBound || table[std::size_t(virtualKeyCode)].empty())
        return std::nullopt;
    return table[std::size_t(virtualKeyCode)];
}

} // namespace tolvane::X11KeyTable
