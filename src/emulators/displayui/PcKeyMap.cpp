#include "emulators/displayui/PcKeyMap.h"

#include <wx/defs.h>

namespace qs::displayui {

std::optional<uint8_t> PcKeyMap::CodeOf(int keyCode, bool withF2) {
    if (keyCode >= '0' && keyCode <= '9') return static_cast<uint8_t>(keyCode);
    if (keyCode >= WXK_NUMPAD0 && keyCode <= WXK_NUMPAD9) return static_cast<uint8_t>('0' + (keyCode - WXK_NUMPAD0));
    switch (keyCode) {
    case WXK_BACK:
    case WXK_ESCAPE: return 0x08;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: return 0x0D;
    // With Num Lock off the pad's keys arrive as the keys they are marked with.
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT: return '4';
    case WXK_UP:
    case WXK_NUMPAD_UP: return '2';
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT: return '6';
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN: return '8';
    case WXK_EXECUTE:
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
    case WXK_NUMPAD_ADD:
    case WXK_NUMPAD_SUBTRACT:
    case '=':
    case '+':
    case '-': return '+';
    case WXK_NUMPAD_DECIMAL:
    case '.': return '.';
    case WXK_F1: return ';';
    case WXK_F2: return withF2 ? std::optional<uint8_t>('<') : std::nullopt;
    case WXK_F5: return '?';
    case WXK_F6: return '@';
    case WXK_F7: return 'A';
    case WXK_F8: return 'B';
    default: return std::nullopt;
    }
}

}  // namespace qs::displayui
