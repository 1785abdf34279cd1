#include "platform/winapi/display/x11/X11Backend.h"

#include <map>
#include <string_view>

namespace {

const std::map<KeySym, unsigned>& KeysymTable()
{
    static const std::map<KeySym, unsigned> table = {
        {XK_BackSpace, VK_BACK}, {XK_Tab, VK_TAB}, {XK_ISO_Left_Tab, VK_TAB},
        {XK_Clear, VK_CLEAR}, {XK_Return, VK_RETURN}, {XK_Pause, VK_PAUSE},
        {XK_Scroll_Lock, VK_SCROLL}, {XK_Sys_Req, VK_SNAPSHOT}, {XK_Escape, VK_ESCAPE},
        {XK_Delete, VK_DELETE}, {XK_Home, VK_HOME}, {XK_Left, VK_LEFT}, {XK_Up, VK_UP},
        {XK_Right, VK_RIGHT}, {XK_Down, VK_DOWN}, {XK_Prior, VK_PRIOR}, {XK_Next, VK_NEXT},
        {XK_End, VK_END}, {XK_Begin, VK_CLEAR}, {XK_Select, VK_SELECT}, {XK_Print, VK_SNAPSHOT},
        {XK_Execute, VK_EXECUTE}, {XK_Insert, VK_INSERT}, {XK_Menu, VK_APPS},
        {XK_Cancel, VK_CANCEL}, {XK_Help, VK_HELP}, {XK_Break, VK_CANCEL},
        {XK_Num_Lock, VK_NUMLOCK}, {XK_space, VK_SPACE},
        {XK_KP_Space, VK_SPACE}, {XK_KP_Tab, VK_TAB}, {XK_KP_Enter, VK_RETURN},
        {XK_KP_Home, VK_HOME}, {XK_KP_Left, VK_LEFT}, {XK_KP_Up, VK_UP}, {XK_KP_Right, VK_RIGHT},
        {XK_KP_Down, VK_DOWN}, {XK_KP_Prior, VK_PRIOR}, {XK_KP_Next, VK_NEXT},
        {XK_KP_End, VK_END}, {XK_KP_Begin, VK_CLEAR}, {XK_KP_Insert, VK_INSERT},
        {XK_KP_Delete, VK_DELETE}, {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD},
        {XK_KP_Separator, VK_SEPARATOR}, {XK_KP_Subtract, VK_SUBTRACT},
        {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE},
        {XK_KP_0, VK_NUMPAD0}, {XK_KP_1, VK_NUMPAD1}, {XK_KP_2, VK_NUMPAD2},
        {XK_KP_3, VK_NUMPAD3}, {XK_KP_4, VK_NUMPAD4}, {XK_KP_5, VK_NUMPAD5},
        {XK_KP_6, VK_NUMPAD6}, {XK_KP_7, VK_NUMPAD7}, {XK_KP_8, VK_NUMPAD8},
        {XK_KP_9, VK_NUMPAD9},
        {XK_Shift_L, VK_SHIFT}, {XK_Shift_R, VK_SHIFT}, {XK_Control_L, VK_CONTROL},
        {XK_Control_R, VK_CONTROL}, {XK_Alt_L, VK_MENU}, {XK_Alt_R, VK_MENU},
        {XK_Meta_L, VK_MENU}, {XK_Meta_R, VK_MENU}, {XK_ISO_Level3_Shift, VK_MENU},
        {XK_Caps_Lock, VK_CAPITAL}, {XK_Super_L, VK_LWIN}, {XK_Super_R, VK_RWIN},
        {XK_semicolon, VK_OEM_1}, {XK_equal, VK_OEM_PLUS}, {XK_plus, VK_OEM_PLUS},
        {XK_comma, VK_OEM_COMMA}, {XK_minus, VK_OEM_MINUS}, {XK_period, VK_OEM_PERIOD},
        {XK_slash, VK_OEM_2}, {XK_grave, VK_OEM_3}, {XK_dead_grave, VK_OEM_3},
        {XK_bracketleft, VK_OEM_4}, {XK_backslash, VK_OEM_5}, {XK_bracketright, VK_OEM_6},
        {XK_apostrophe, VK_OEM_7}, {XK_dead_acute, VK_OEM_7}, {XK_less, VK_OEM_102},
    };
    return table;
}

} // namespace

unsigned VirtualKeyFromKeysym(KeySym keysym)
{
    if (keysym >= XK_a && keysym <= XK_z)
        return static_cast<unsigned>('A' + (keysym - XK_a));
    if (keysym >= XK_A && keysym <= XK_Z)
        return static_cast<unsigned>(keysym);
    if (keysym >= XK_0 && keysym <= XK_9)
        return static_cast<unsigned>(keysym);
    if (keysym >= XK_F1 && keysym <= XK_F24)
        return static_cast<unsigned>(VK_F1 + (keysym - XK_F1));
    const auto& table = KeysymTable();
    auto it = table.find(keysym);
    return it == table.end() ? 0 : it->second;
}

// The keys of a PC keyboard by place (evdev keycodes), named as on the US layout, as Win32 does
// for layouts whose letters are not Latin.
unsigned VirtualKeyFromKeycode(unsigned keycode)
{
    static const char rows[][14] = {
        "1234567890",  // keycodes 10..19
        "QWERTYUIOP",  // 24..33
        "ASDFGHJKL",   // 38..46
        "ZXCVBNM",     // 52..58
    };
    static const unsigned firsts[] = {10, 24, 38, 52};
    for (int row = 0; row < 4; ++row) {
        const std::string_view keys = rows[row];
        if (keycode >= firsts[row] && keycode < firsts[row] + keys.size())
            return static_cast<unsigned char>(keys[keycode - firsts[row]]);
    }
    static const std::map<unsigned, unsigned> punctuation = {
        {20, VK_OEM_MINUS}, {21, VK_OEM_PLUS}, {34, VK_OEM_4}, {35, VK_OEM_6}, {47, VK_OEM_1},
        {48, VK_OEM_7}, {49, VK_OEM_3}, {51, VK_OEM_5}, {59, VK_OEM_COMMA}, {60, VK_OEM_PERIOD},
        {61, VK_OEM_2}, {94, VK_OEM_102},
    };
    auto it = punctuation.find(keycode);
    return it == punctuation.end() ? 0 : it->second;
}
