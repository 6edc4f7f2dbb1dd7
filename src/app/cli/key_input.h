#pragma once

#include <string>

#include <QEvent>
#include <QPoint>
#include <Qt>

class QWidget;
class QWindow;

// Key and mouse events made as a user's hand makes them.
namespace morvane::cli {

// The bit of script::Modifier for "Ctrl", "Shift" or "Alt"; 0 for any other key.
unsigned ModifierBit(const std::string &key);
// The modifiers of script::Modifier bits.
Qt::KeyboardModifiers QtModifiers(unsigned bits);

// A mouse event at `pos` (in the widget's coordinates), delivered to the widget at once.
void SendMouse(QWidget &widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// One key pressed or let go in `window` while the modifiers (script::Modifier bits) are held:
// a key name of script::KeyNames(), "Num0" to "Num9" for the keypad, or a modifier. It takes
// the whole way of a real key: shortcut override and menu shortcuts, then the application's
// notify (key preview), then the focused control. Throws script::ScriptError for an unknown
// key name.
void SendKey(QWindow &window, const std::string &key, bool press, unsigned modifiers);

} // namespace morvane::cli
