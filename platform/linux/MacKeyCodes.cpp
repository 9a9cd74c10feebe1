#include "platform/linux/MacKeyCodes.h"

#include <array>
#include <utility>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace solvara {
namespace {

struct Entry {
    std::uint16_t keyCode;
    KeySym keysym;
};

constexpr std::array table{
    // Letters and digits of the main block.
    Entry{0, XK_a}, Entry{1, XK_s}, Entry{2, XK_d}, Entry{3, XK_f}, Entry{4, XK_h}, Entry{5, XK_g},
    Entry{6, XK_z}, Entry{7, XK_x}, Entry{8, XK_c}, Entry{9, XK_v}, Entry{11, XK_b}, Entry{12, XK_q},
    Entry{13, XK_w}, Entry{14, XK_e}, Entry{15, XK_r}, Entry{16, XK_y}, Entry{17, XK_t}, Entry{31, XK_o},
    Entry{32, XK_u}, Entry{34, XK_i}, Entry{35, XK_p}, Entry{37, XK_l}, Entry{38, XK_j}, Entry{40, XK_k},
    Entry{45, XK_n}, Entry{46, XK_m},
    Entry{18, XK_1}, Entry{19, XK_2}, Entry{20, XK_3}, Entry{21, XK_4}, Entry{22, XK_6}, Entry{23, XK_5},
    Entry{25, XK_9}, Entry{26, XK_7}, Entry{28, XK_8}, Entry{29, XK_0},
    // Punctuation.
    Entry{24, XK_equal}, Entry{27, XK_minus}, Entry{30, XK_bracketright}, Entry{33, XK_bracketleft},
    Entry{39, XK_apostrophe}, Entry{41, XK_semicolon}, Entry{42, XK_backslash}, Entry{43, XK_comma},
    Entry{44, XK_slash}, Entry{47, XK_period}, Entry{50, XK_grave}, Entry{10, XK_less},
    // Editing and navigation.
    Entry{36, XK_Return}, Entry{48, XK_Tab}, Entry{49, XK_space}, Entry{51, XK_BackSpace},
    Entry{53, XK_Escape}, Entry{114, XK_Insert}, Entry{115, XK_Home}, Entry{116, XK_Prior},
    Entry{117, XK_Delete}, Entry{119, XK_End}, Entry{121, XK_Next},
    Entry{123, XK_Left}, Entry{124, XK_Right}, Entry{125, XK_Down}, Entry{126, XK_Up},
    // Function keys.
    Entry{122, XK_F1}, Entry{120, XK_F2}, Entry{99, XK_F3}, Entry{118, XK_F4}, Entry{96, XK_F5},
    Entry{97, XK_F6}, Entry{98, XK_F7}, Entry{100, XK_F8}, Entry{101, XK_F9}, Entry{109, XK_F10},
    Entry{103, XK_F11}, Entry{111, XK_F12}, Entry{105, XK_F13}, Entry{107, XK_F14}, Entry{113, XK_F15},
    Entry{106, XK_F16}, Entry{64, XK_F17}, Entry{79, XK_F18}, Entry{80, XK_F19}, Entry{90, XK_F20},
    // Numeric keypad.
    Entry{65, XK_KP_Decimal}, Entry{67, XK_KP_Multiply}, Entry{69, XK_KP_Add}, Entry{75, XK_KP_Divide},
    Entry{76, XK_KP_Enter}, Entry{78, XK_KP_Subtract}, Entry{81, XK_KP_Equal}, Entry{82, XK_KP_0},
    Entry{83, XK_KP_1}, Entry{84, XK_KP_2}, Entry{85, XK_KP_3}, Entry{86, XK_KP_4}, Entry{87, XK_KP_5},
    Entry{88, XK_KP_6}, Entry{89, XK_KP_7}, Entry{91, XK_KP_8}, Entry{92, XK_KP_9},
};

}  // namespace

std::optional<unsigned long> MacKeyCodes::keysym(std::uint16_t keyCode) {
    for (const Entry& entry : table) {
        if (entry.keyCode == keyCode) return entry.keysym;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> MacKeyCodes::keyCode(unsigned long keysym) {
    KeySym lower = keysym;
    KeySym upper = keysym;
    XConvertCase(keysym, &lower, &upper);
    for (const Entry& entry : table) {
        if (entry.keysym == lower) return entry.keyCode;
    }
    return std::nullopt;
}

}  // namespace solvara
