#pragma once

#include <string>

#include <QString>

class QAbstractButton;
class QAction;
class QObject;
class QWidget;

// What a control of the window is to a script, and the texts it shows.
namespace morvane::cli {

// The kind decides what click, set and print do with a control; its word names it in
// messages and in the widget list.
enum class ControlKind {
    Button,
    SpeedButton,
    CheckBox,
    Radio,
    Combo,
    List,
    Edit,
    Memo,
    Label,
    Group,
    TrackBar,
    ScrollBar,
    Image,
    MenuItem,
    Menu,
    Timer,
    Window,
    Other,
};

ControlKind KindOf(const QObject *object);
// "button", "speedbutton", "menu item", ...; "control" for any other.
const char *KindWord(ControlKind kind);

// The window's controls are named and captioned in UTF-8 on the script's side.
std::string Utf8(const QString &text);
QString FromUtf8(const std::string &text);

// A menu caption as a path element: the mnemonic marks dropped, "&&" kept as "&".
QString PlainCaption(const QString &caption);
// What a control shows: a button's or label's caption, an edit box's text, a combo box's
// current item, a tool window's title; empty for a control without text.
QString CaptionOf(const QObject *object);
bool IsChecked(const QObject *object);
bool IsEnabled(const QObject *object);
// A radio button, or a speed button of an exclusive group, is turned off only by choosing
// another one.
bool IsExclusive(const QAbstractButton &button);
// The action's shortcut as the menu list shows it ("Ctrl+Shift+S"), "-" for none.
std::string ShortcutText(const QAction &action);

// The first object below `window` named `name` that a script can act on (a control, a menu, a
// menu item, a timer, a tool window). Throws script::ScriptError "unknown control" otherwise.
QObject *FindControl(const QWidget &window, const std::string &name);

} // namespace morvane::cli
