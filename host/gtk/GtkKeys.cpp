#include "host/gtk/GtkKeys.h"

#include "host/core/TextUtils.h"
#include "host/ui/App.h"
#include "host/ui/Messages.h"

#include <gdk/gdk.h>

namespace host::gtk {

namespace {

std::uint16_t VirtualKey(unsigned keyval) {
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return static_cast<std::uint16_t>(VK_F1 + (keyval - GDK_KEY_F1));
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return static_cast<std::uint16_t>('A' + (keyval - GDK_KEY_a));
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return static_cast<std::uint16_t>('A' + (keyval - GDK_KEY_A));
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return static_cast<std::uint16_t>('0' + (keyval - GDK_KEY_0));
    switch (keyval) {
    case GDK_KEY_BackSpace: return VK_BACK;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab: return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: return VK_RETURN;
    case GDK_KEY_Escape: return VK_ESCAPE;
    case GDK_KEY_space: return VK_SPACE;
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up: return VK_PRIOR;
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down: return VK_NEXT;
    case GDK_KEY_End:
    case GDK_KEY_KP_End: return VK_END;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home: return VK_HOME;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left: return VK_LEFT;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up: return VK_UP;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right: return VK_RIGHT;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down: return VK_DOWN;
    case GDK_KEY_Insert:
    case GDK_KEY_KP_Insert: return VK_INSERT;
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete: return VK_DELETE;
    default: return 0;
    }
}

} // namespace

TGtkKey TranslateKey(unsigned keyval, unsigned state) {
    TGtkKey key;
    if (state & GDK_SHIFT_MASK) key.Shift.Include(ssShift);
    if (state & GDK_CONTROL_MASK) key.Shift.Include(ssCtrl);
    if (state & GDK_ALT_MASK) key.Shift.Include(ssAlt);
    const gunichar ch = gdk_keyval_to_unicode(keyval);
    const bool command = key.Shift.Contains(ssCtrl) || key.Shift.Contains(ssAlt);
    if (!command && ch >= 0x20 && ch != 0x7F && g_unichar_isprint(ch)) {
        AppendUtf8(key.Text, static_cast<char32_t>(ch));
        return key;
    }
    key.Key = VirtualKey(keyval);
    // Shift+Tab arrives as a key of its own.
    if (keyval == GDK_KEY_ISO_Left_Tab) key.Shift.Include(ssShift);
    return key;
}

bool DeliverKey(const TGtkKey& key) {
    if (!key.Text.empty()) {
        Keyboard().Type(key.Text);
        return true;
    }
    if (key.Key == 0) return false;
    if (Application()->IsShortCut(key.Key, key.Shift)) return true;
    Keyboard().Press(key.Key, key.Shift);
    return true;
}

} // namespace host::gtk
