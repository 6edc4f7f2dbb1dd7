#include "cli/key_input.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <QWindow>

#include "script/script_parser.h"

QT_BEGIN_NAMESPACE
// Exported by QtGui for Qt's own test library; see HandleKeyAsTheWindowSystem.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow *w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString &text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace morvane::cli {

namespace {

struct KeyInfo {
    int Code = 0;
    QString Text; // what the key types without Ctrl or Alt
    bool Keypad = false;
};

KeyInfo KeyOf(const std::string &name, bool shift) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z')
        return {
            Qt::Key_A + (name[0] - 'A'),
            QString(QChar::fromLatin1(shift ? name[0] : static_cast<char>(name[0] - 'A' + 'a'))),
            false};
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return {Qt::Key_0 + (name[0] - '0'), QString(QChar::fromLatin1(name[0])), false};
    if (name.size() == 4 && name.rfind("Num", 0) == 0)
        return {Qt::Key_0 + (name[3] - '0'), QString(QChar::fromLatin1(name[3])), true};
    if (name.size() >= 2 && name[0] == 'F' && name[1] >= '1' && name[1] <= '9')
        return {Qt::Key_F1 + std::stoi(name.substr(1)) - 1, {}, false};
    struct Named {
        const char *Name;
        int Code;
        const char *Text;
    };
    static const Named kNamed[] = {
        {"Enter", Qt::Key_Return, "\r"},
        {"Escape", Qt::Key_Escape, "\x1b"},
        {"Tab", Qt::Key_Tab, "\t"},
        {"Space", Qt::Key_Space, " "},
        {"Backspace", Qt::Key_Backspace, "\b"},
        {"Delete", Qt::Key_Delete, "\x7f"},
        {"Insert", Qt::Key_Insert, ""},
        {"Home", Qt::Key_Home, ""},
        {"End", Qt::Key_End, ""},
        {"PageUp", Qt::Key_PageUp, ""},
        {"PageDown", Qt::Key_PageDown, ""},
        {"Left", Qt::Key_Left, ""},
        {"Right", Qt::Key_Right, ""},
        {"Up", Qt::Key_Up, ""},
        {"Down", Qt::Key_Down, ""},
        {"Ctrl", Qt::Key_Control, ""},
        {"Shift", Qt::Key_Shift, ""},
        {"Alt", Qt::Key_Alt, ""},
    };
    for (const auto &key : kNamed)
        if (name == key.Name)
            return {key.Code, QString::fromLatin1(key.Text), false};
    throw script::ScriptError("unknown key " + script::Quote(name));
}

// The one use of a private symbol of Qt. A key reaches the shortcut map only when it comes from
// the window system: a QKeyEvent sent with QCoreApplication::sendEvent goes through the
// application's notify (the main window's key preview) before QApplication looks for a
// shortcut, so a menu shortcut such as Ctrl+Q would reach the Ctrl key buffer, which a real key
// never does (tests/scripts/keys.mvs shows it). Qt has no public way to hand a key to the
// window system layer (QWindowSystemInterface is internal), and QTest, which does, is no part
// of the product.
void HandleKeyAsTheWindowSystem(QWindow *window, QEvent::Type type, int key,
                                Qt::KeyboardModifiers modifiers, const QString &text) {
    qt_handleKeyEvent(window, type, key, modifiers, text, false, 1);
}

} // namespace

unsigned ModifierBit(const std::string &key) {
    if (key == "Ctrl")
        return static_cast<unsigned>(script::Modifier::Ctrl);
    if (key == "Shift")
        return static_cast<unsigned>(script::Modifier::Shift);
    if (key == "Alt")
        return static_cast<unsigned>(script::Modifier::Alt);
    return 0;
}

Qt::KeyboardModifiers QtModifiers(unsigned bits) {
    Qt::KeyboardModifiers modifiers;
    if ((bits & static_cast<unsigned>(script::Modifier::Ctrl)) != 0)
        modifiers |= Qt::ControlModifier;
    if ((bits & static_cast<unsigned>(script::Modifier::Shift)) != 0)
        modifiers |= Qt::ShiftModifier;
    if ((bits & static_cast<unsigned>(script::Modifier::Alt)) != 0)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

void SendMouse(QWidget &widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget.mapTo(widget.window(), pos)),
                      QPointF(widget.mapToGlobal(pos)), button, buttons, modifiers);
    QCoreApplication::sendEvent(&widget, &event);
}

void SendKey(QWindow &window, const std::string &key, bool press, unsigned modifiers) {
    const unsigned shift = static_cast<unsigned>(script::Modifier::Shift);
    const KeyInfo info = KeyOf(key, (modifiers & shift) != 0);
    const unsigned typing = static_cast<unsigned>(script::Modifier::Ctrl) |
                            static_cast<unsigned>(script::Modifier::Alt);
    Qt::KeyboardModifiers qtModifiers = QtModifiers(modifiers);
    if (info.Keypad)
        qtModifiers |= Qt::KeypadModifier;
    HandleKeyAsTheWindowSystem(&window, press ? QEvent::KeyPress : QEvent::KeyRelease, info.Code,
                               qtModifiers, (modifiers & typing) != 0 ? QString() : info.Text);
}

} // namespace morvane::cli
