#include "platform/X11KeyTable.h"

#include <unordered_map>

#include <X11/keysym.h>

namespace tolvane::X11KeyTable {

namespace {

const std::unordered_map<int, Keysyms>& table()
{
    // Letters and punctuation are listed by their unshifted keysym on a US layout; XQueryKeymap
    // reports keys, so the keysym only serves to find the key that carries it.
    static const std::unordered_map<int, Keysyms> codes = {
        {0, {XK_a, 0}},
        {1, {XK_s, 0}},
        {2, {XK_d, 0}},
        {3, {XK_f, 0}},
        {4, {XK_h, 0}},
        {5, {XK_g, 0}},
        {6, {XK_z, 0}},
        {7, {XK_x, 0}},
        {8, {XK_c, 0}},
        {9, {XK_v, 0}},
        {11, {XK_b, 0}},
        {12, {XK_q, 0}},
        {13, {XK_w, 0}},
        {14, {XK_e, 0}},
        {15, {XK_r, 0}},
        {16, {XK_y, 0}},
        {17, {XK_t, 0}},
        {18, {XK_1, 0}},
        {19, {XK_2, 0}},
        {20, {XK_3, 0}},
        {21, {XK_4, 0}},
        {22, {XK_6, 0}},
        {23, {XK_5, 0}},
        {24, {XK_equal, 0}},
        {25, {XK_9, 0}},
        {26, {XK_7, 0}},
        {27, {XK_minus, 0}},
        {28, {XK_8, 0}},
        {29, {XK_0, 0}},
        {30, {XK_bracketright, 0}},
        {31, {XK_o, 0}},
        {32, {XK_u, 0}},
        {33, {XK_bracketleft, 0}},
        {34, {XK_i, 0}},
        {35, {XK_p, 0}},
        {36, {XK_Return, 0}},
        {37, {XK_l, 0}},
        {38, {XK_j, 0}},
        {39, {XK_apostrophe, 0}},
        {40, {XK_k, 0}},
        {41, {XK_semicolon, 0}},
        {42, {XK_backslash, 0}},
        {43, {XK_comma, 0}},
        {44, {XK_slash, 0}},
        {45, {XK_n, 0}},
        {46, {XK_m, 0}},
        {47, {XK_period, 0}},
        {48, {XK_Tab, XK_ISO_Left_Tab}},
        {49, {XK_space, 0}},
        {50, {XK_grave, 0}},
        {51, {XK_BackSpace, 0}},
        {53, {XK_Escape, 0}},
        // Command is the Super key on PC keyboards; Option is Alt (AltGr on many layouts).
        {54, {XK_Super_R, 0}},
        {55, {XK_Super_L, 0}},
        {56, {XK_Shift_L, 0}},
        {57, {XK_Caps_Lock, 0}},
        {58, {XK_Alt_L, 0}},
        {59, {XK_Control_L, 0}},
        {60, {XK_Shift_R, 0}},
        {61, {XK_Alt_R, XK_ISO_Level3_Shift}},
        {62, {XK_Control_R, 0}},
        {65, {XK_KP_Decimal, XK_KP_Delete}},
        {67, {XK_KP_Multiply, 0}},
        {69, {XK_KP_Add, 0}},
        {71, {XK_Num_Lock, XK_Clear}},
        {75, {XK_KP_Divide, 0}},
        {76, {XK_KP_Enter, 0}},
        {78, {XK_KP_Subtract, 0}},
        {81, {XK_KP_Equal, 0}},
        {82, {XK_KP_0, XK_KP_Insert}},
        {83, {XK_KP_1, XK_KP_End}},
        {84, {XK_KP_2, XK_KP_Down}},
        {85, {XK_KP_3, XK_KP_Next}},
        {86, {XK_KP_4, XK_KP_Left}},
        {87, {XK_KP_5, XK_KP_Begin}},
        {88, {XK_KP_6, XK_KP_Right}},
        {89, {XK_KP_7, XK_KP_Home}},
        {91, {XK_KP_8, XK_KP_Up}},
        {92, {XK_KP_9, XK_KP_Prior}},
        {96, {XK_F5, 0}},
        {97, {XK_F6, 0}},
        {98, {XK_F7, 0}},
        {99, {XK_F3, 0}},
        {100, {XK_F8, 0}},
        {101, {XK_F9, 0}},
        {103, {XK_F11, 0}},
        {105, {XK_F13, 0}},
        {106, {XK_F16, 0}},
        {107, {XK_F14, 0}},
        {109, {XK_F10, 0}},
        {111, {XK_F12, 0}},
        {113, {XK_F15, 0}},
        // Help sits where PC keyboards have Insert.
        {114, {XK_Insert, XK_Help}},
        {115, {XK_Home, 0}},
        {116, {XK_Prior, 0}},
        {117, {XK_Delete, 0}},
        {118, {XK_F4, 0}},
        {119, {XK_End, 0}},
        {120, {XK_F2, 0}},
        {121, {XK_Next, 0}},
        {122, {XK_F1, 0}},
        {123, {XK_Left, 0}},
        {124, {XK_Right, 0}},
        {125, {XK_Down, 0}},
        {126, {XK_Up, 0}},
    };
    return codes;
}

} // namespace

std::optional<Keysyms> keysymsForVirtualKey(int virtualKeyCode)
{
    const auto& codes = table();
    if (auto it = codes.find(virtualKeyCode); it != codes.end())
        return it->second;
    return std::nullopt;
}

} // namespace tolvane::X11KeyTable
