#include "cli/script_runner.h"

#include <exception>
#include <fstream>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include "cli/script_target.h"
#include "ui/qt/image_view.h"

QT_BEGIN_NAMESPACE
// Hands a key event to the window system layer as the platform plugin would, so that it takes
// the whole way of a real key: shortcut override, menu shortcuts, the application's notify (key
// preview), the focused control. Exported by QtGui for Qt's own test library.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow *w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString &text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace morvane::cli {

namespace {

using script::ScriptError;

enum class Kind {
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

Kind KindOf(const QObject *object) {
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->menu() != nullptr ? Kind::Menu : Kind::MenuItem;
    if (qobject_cast<const QMenu *>(object) != nullptr)
        return Kind::Menu;
    if (qobject_cast<const QTimer *>(object) != nullptr)
        return Kind::Timer;
    if (!object->isWidgetType())
        return Kind::Other;
    // A tool window the main window owns (its own frame, found and listed with it).
    if (static_cast<const QWidget *>(object)->isWindow() &&
        qobject_cast<const QDialog *>(object) == nullptr)
        return Kind::Window;
    // Pictures are named after their kind ("img..."), whatever widget shows them.
    if (object->objectName().startsWith(QStringLiteral("img")))
        return Kind::Image;
    if (qobject_cast<const QCheckBox *>(object) != nullptr)
        return Kind::CheckBox;
    if (qobject_cast<const QRadioButton *>(object) != nullptr)
        return Kind::Radio;
    if (qobject_cast<const QToolButton *>(object) != nullptr)
        return Kind::SpeedButton;
    if (qobject_cast<const QAbstractButton *>(object) != nullptr)
        return Kind::Button;
    if (qobject_cast<const QComboBox *>(object) != nullptr)
        return Kind::Combo;
    if (qobject_cast<const QListWidget *>(object) != nullptr)
        return Kind::List;
    if (qobject_cast<const QLineEdit *>(object) != nullptr)
        return Kind::Edit;
    if (qobject_cast<const QPlainTextEdit *>(object) != nullptr ||
        qobject_cast<const QTextEdit *>(object) != nullptr)
        return Kind::Memo;
    if (qobject_cast<const QGroupBox *>(object) != nullptr)
        return Kind::Group;
    if (qobject_cast<const QSlider *>(object) != nullptr)
        return Kind::TrackBar;
    if (qobject_cast<const QScrollBar *>(object) != nullptr)
        return Kind::ScrollBar;
    if (qobject_cast<const QLabel *>(object) != nullptr)
        return Kind::Label;
    return Kind::Other;
}

const char *KindWord(Kind kind) {
    switch (kind) {
    case Kind::Button:
        return "button";
    case Kind::SpeedButton:
        return "speedbutton";
    case Kind::CheckBox:
        return "checkbox";
    case Kind::Radio:
        return "radio";
    case Kind::Combo:
        return "combo";
    case Kind::List:
        return "list";
    case Kind::Edit:
        return "edit";
    case Kind::Memo:
        return "memo";
    case Kind::Label:
        return "label";
    case Kind::Group:
        return "group";
    case Kind::TrackBar:
        return "trackbar";
    case Kind::ScrollBar:
        return "scrollbar";
    case Kind::Image:
        return "image";
    case Kind::MenuItem:
        return "menu item";
    case Kind::Menu:
        return "menu";
    case Kind::Timer:
        return "timer";
    case Kind::Window:
        return "window";
    case Kind::Other:
        break;
    }
    return "control";
}

std::string Utf8(const QString &text) {
    return text.toStdString();
}

QString FromUtf8(const std::string &text) {
    return QString::fromStdString(text);
}

// A menu caption as a path element: the mnemonic marks dropped, "&&" kept as "&".
QString PlainCaption(const QString &caption) {
    QString result;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                result += caption[++i];
            continue;
        }
        result += caption[i];
    }
    return result;
}

QString CaptionOf(const QObject *object) {
    if (const auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (const auto *group = qobject_cast<const QGroupBox *>(object))
        return group->title();
    if (const auto *edit = qobject_cast<const QLineEdit *>(object))
        return edit->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(object))
        return memo->toPlainText();
    if (const auto *memo = qobject_cast<const QTextEdit *>(object))
        return memo->toPlainText();
    if (const auto *combo = qobject_cast<const QComboBox *>(object))
        return combo->currentText();
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->text();
    if (const auto *widget = qobject_cast<const QWidget *>(object); widget && widget->isWindow())
        return widget->windowTitle();
    return {};
}

bool IsChecked(const QObject *object) {
    if (const auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->isChecked();
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->isChecked();
    return false;
}

bool IsEnabled(const QObject *object) {
    if (const auto *widget = qobject_cast<const QWidget *>(object))
        return widget->isEnabled();
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->isEnabled();
    return true;
}

// A radio button, or a speed button of an exclusive group, is turned off only by choosing
// another one.
bool IsExclusive(const QAbstractButton &button) {
    if (button.autoExclusive())
        return true;
    return button.group() != nullptr && button.group()->exclusive();
}

std::string ShortcutText(const QAction &action) {
    const QKeySequence shortcut = action.shortcut();
    return shortcut.isEmpty() ? std::string("-")
                              : Utf8(shortcut.toString(QKeySequence::PortableText));
}

void SendMouse(QWidget &widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget.mapTo(widget.window(), pos)),
                      QPointF(widget.mapToGlobal(pos)), button, buttons, modifiers);
    QCoreApplication::sendEvent(&widget, &event);
}

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
    throw ScriptError("unknown key " + script::Quote(name));
}

} // namespace

ScriptRunner::ScriptRunner(ScriptTarget &target, script::ScriptedDialogs &dialogs,
                           edit::FixedClock &clock, std::ostream &out)
    : target_(target), dialogs_(dialogs), clock_(clock), out_(out), window_(&target.Window()) {
    // A dialog shown by other means than the dialogs port would wait for a user forever; the
    // guard fires inside its event loop and closes it.
    modalGuard_.setInterval(20);
    connect(&modalGuard_, &QTimer::timeout, this, &ScriptRunner::CheckForModalWindows);
    for (const char *scheme : {"http", "https", "file", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "OpenUrl");
}

ScriptRunner::~ScriptRunner() {
    for (const char *scheme : {"http", "https", "file", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void ScriptRunner::OpenUrl(const QUrl &url) {
    Line("web-page: " + Utf8(url.toString()));
}

void ScriptRunner::Line(const std::string &text) {
    out_ << script::OneLine(text) << '\n';
}

void ScriptRunner::CheckForModalWindows() {
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == nullptr)
        modal = QApplication::activePopupWidget();
    if (modal == nullptr)
        return;
    dialogs_.Fail("a window the script can not answer opened: " +
                  script::Quote(Utf8(modal->windowTitle())));
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}

int ScriptRunner::Run(const std::string &fileName, std::string_view text, std::ostream &err) {
    if (window_ && !window_->isVisible()) {
        window_->show();
        window_->activateWindow();
        // Shortcuts of the window's menu work only while it is the active window.
        QEventLoop wait;
        for (int i = 0; i < 200 && QApplication::activeWindow() != window_; ++i) {
            QTimer::singleShot(5, &wait, &QEventLoop::quit);
            wait.exec(QEventLoop::ExcludeUserInputEvents);
        }
    }
    modalGuard_.start();
    auto fail = [&](int line, const std::string &reason) {
        modalGuard_.stop();
        out_.flush();
        err << fileName << ':' << line << ": " << reason << '\n';
        err.flush();
        return 2;
    };
    const auto lines = script::SplitLines(text);
    for (const auto &line : lines) {
        try {
            const auto action = script::ParseLine(line.Text);
            if (!action)
                continue;
            Execute(*action, line.Number);
            QCoreApplication::sendPostedEvents();
            CheckForModalWindows();
        } catch (const ScriptError &e) {
            return fail(line.Number, e.what());
        }
        if (dialogs_.Failed())
            return fail(line.Number, dialogs_.Failure());
    }
    const int end = lines.empty() ? 1 : lines.back().Number;
    // The program ends by closing its window, which runs the window's close query; the end of a
    // script is no user closing the window, so unsaved work is not asked about.
    if (window_ && window_->isVisible()) {
        target_.CloseWithoutQuestion();
        QCoreApplication::sendPostedEvents();
        if (dialogs_.Failed())
            return fail(end, dialogs_.Failure());
    }
    modalGuard_.stop();
    if (const auto left = dialogs_.FirstLeftover())
        return fail(left->Line, left->What + " was queued but no dialog asked for it");
    out_.flush();
    return 0;
}

QObject *ScriptRunner::Find(const std::string &name) const {
    if (!window_)
        throw ScriptError("the window is gone");
    const auto found = window_->findChildren<QObject *>(FromUtf8(name));
    for (QObject *object : found)
        if (KindOf(object) != Kind::Other)
            return object;
    throw ScriptError("unknown control " + script::Quote(name));
}

QWidget *ScriptRunner::FindWidget(const std::string &name) const {
    auto *widget = qobject_cast<QWidget *>(Find(name));
    if (widget == nullptr)
        throw ScriptError(name + " is not a control of the window");
    return widget;
}

bool ScriptRunner::Reachable(QObject *control, const std::string &name) {
    if (!IsEnabled(control)) {
        Line("ignored: " + name + " is disabled");
        return false;
    }
    if (auto *widget = qobject_cast<QWidget *>(control);
        widget != nullptr && window_ && !widget->isVisibleTo(window_.data())) {
        Line("ignored: " + name + " is hidden");
        return false;
    }
    return true;
}

void ScriptRunner::Execute(const script::Action &action, int line) {
    using script::ActionKind;
    switch (action.Kind) {
    case ActionKind::Answer:
        dialogs_.QueueAnswer(action.Reply, line);
        return;
    case ActionKind::File:
    case ActionKind::NoFile:
        dialogs_.QueueFile(action.Path, line);
        return;
    case ActionKind::Choose:
        dialogs_.QueueSelector(action.Selector, line);
        return;
    case ActionKind::AudioSetup:
        dialogs_.QueueAudioSetup(action.Audio, line);
        return;
    case ActionKind::MidiSetup:
        dialogs_.QueueMidiSetup(action.Midi, line);
        return;
    case ActionKind::ImportAudio:
        dialogs_.QueueImportAudio(action.Import, line);
        return;
    case ActionKind::Clock:
        clock_.Set(action.Time);
        return;
    case ActionKind::Print:
        Print(action.Name);
        return;
    case ActionKind::Widgets:
        ListWidgets();
        return;
    case ActionKind::SaveGraph:
    case ActionKind::SaveOverview:
    case ActionKind::SaveWindow:
    case ActionKind::SaveWaterfall:
    case ActionKind::SaveSpectrogram: {
        const QImage picture =
            action.Kind == ActionKind::SaveGraph         ? target_.GraphPicture()
            : action.Kind == ActionKind::SaveOverview    ? target_.OverviewPicture()
            : action.Kind == ActionKind::SaveWaterfall   ? target_.WaterfallPicture()
            : action.Kind == ActionKind::SaveSpectrogram ? target_.SpectrogramPicture()
                                                         : target_.Window().grab().toImage();
        if (!picture.save(FromUtf8(action.Name), "PNG"))
            throw ScriptError("can not write " + script::Quote(action.Name));
        return;
    }
    case ActionKind::SaveBuffers:
        SaveBuffers(action.Name);
        return;
    case ActionKind::Wait:
        Wait(action.Count);
        return;
    default:
        break;
    }
    // What remains are a user's actions on the window, which a closed window no longer takes.
    if (!window_ || !window_->isVisible())
        throw ScriptError("the window is closed");
    try {
        switch (action.Kind) {
        case ActionKind::Click:
            Click(action.Name);
            break;
        case ActionKind::Press:
        case ActionKind::Release:
            PressOrRelease(action.Name, action.Kind == ActionKind::Press);
            break;
        case ActionKind::Set:
            Set(action.Name, action.Value);
            break;
        case ActionKind::Key:
            Key(action.Keys);
            break;
        case ActionKind::KeyDown:
        case ActionKind::KeyUp: {
            const std::string &key = action.Keys.Key;
            const bool down = action.Kind == ActionKind::KeyDown;
            if (down == (keysDown_.count(key) != 0))
                throw ScriptError(key + (down ? " is already down" : " is not down"));
            const unsigned bit = ModifierBit(key);
            if (down) {
                KeyEvent(key, true, modifiersDown_);
                modifiersDown_ |= bit;
                keysDown_.insert(key);
            } else {
                KeyEvent(key, false, modifiersDown_);
                modifiersDown_ &= ~bit;
                keysDown_.erase(key);
            }
            break;
        }
        case ActionKind::Mouse:
            Mouse(action.Mouse);
            break;
        case ActionKind::Tick:
            Tick(action.Name, action.Count);
            break;
        case ActionKind::Harmonic:
            target_.SetHarmonic(action.Harmonic);
            break;
        case ActionKind::Drop:
            Drop(action.Name);
            break;
        default:
            // An action the parser knows and this switch does not must not pass unnoticed.
            throw ScriptError("the runner does not carry out this action");
        }
    } catch (const ScriptError &) {
        throw;
    } catch (const std::exception &e) {
        // An error that escaped the window's own handlers: the general error box.
        dialogs_.Message(e.what());
    }
}

void ScriptRunner::Click(const std::string &name) {
    QObject *control = Find(name);
    const Kind kind = KindOf(control);
    switch (kind) {
    case Kind::MenuItem:
        if (Reachable(control, name))
            static_cast<QAction *>(control)->trigger();
        return;
    case Kind::Menu: {
        // Opening a menu or a submenu runs nothing; a menu is a popup, hidden until opened.
        const auto *menu = qobject_cast<const QMenu *>(control);
        if (!(menu != nullptr ? menu->menuAction()->isEnabled() : IsEnabled(control)))
            Line("ignored: " + name + " is disabled");
        return;
    }
    case Kind::Button:
    case Kind::SpeedButton:
    case Kind::CheckBox:
    case Kind::Radio: {
        if (!Reachable(control, name))
            return;
        auto *button = static_cast<QAbstractButton *>(control);
        if ((button->focusPolicy() & Qt::ClickFocus) != 0)
            button->setFocus(Qt::MouseFocusReason);
        button->click();
        return;
    }
    case Kind::Label:
    case Kind::Image:
    case Kind::Group: {
        if (!Reachable(control, name))
            return;
        auto *widget = static_cast<QWidget *>(control);
        const QPoint centre = widget->rect().center();
        SendMouse(*widget, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton,
                  QtModifiers(modifiersDown_));
        SendMouse(*widget, QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton,
                  QtModifiers(modifiersDown_));
        return;
    }
    default:
        throw ScriptError(name + " is a " + KindWord(kind) + "; use set");
    }
}

void ScriptRunner::PressOrRelease(const std::string &name, bool press) {
    QObject *control = Find(name);
    auto *button = qobject_cast<QAbstractButton *>(control);
    if (button == nullptr)
        throw ScriptError(name + " is a " + KindWord(KindOf(control)) + ", not a button to press");
    if (press == button->isDown())
        throw ScriptError(name + (press ? " is already pressed" : " is not pressed"));
    if (press && !Reachable(control, name))
        return;
    if (press && (button->focusPolicy() & Qt::ClickFocus) != 0)
        button->setFocus(Qt::MouseFocusReason);
    SendMouse(*button, press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease,
              button->rect().center(), Qt::LeftButton, press ? Qt::LeftButton : Qt::NoButton,
              QtModifiers(modifiersDown_));
}

void ScriptRunner::SetChecked(QObject *control, const std::string &name, const std::string &value) {
    if (value != "on" && value != "off")
        throw ScriptError(name + " is set on or off, not " + script::Quote(value));
    if (const auto *action = qobject_cast<const QAction *>(control);
        action != nullptr && !action->isCheckable())
        throw ScriptError(name + " has no check mark");
    const bool want = value == "on";
    if (IsChecked(control) == want)
        return;
    if (const auto *button = qobject_cast<const QAbstractButton *>(control);
        button != nullptr && !want && IsExclusive(*button))
        throw ScriptError(name + " is turned off by choosing another one of its group");
    Click(name);
}

void ScriptRunner::Set(const std::string &name, const std::string &value) {
    QObject *control = Find(name);
    const Kind kind = KindOf(control);
    if (!Reachable(control, name))
        return;
    auto *widget = qobject_cast<QWidget *>(control);
    auto giveFocus = [&] {
        if (widget != nullptr && (widget->focusPolicy() & Qt::ClickFocus) != 0)
            widget->setFocus(Qt::MouseFocusReason);
    };
    switch (kind) {
    case Kind::Combo: {
        auto *combo = static_cast<QComboBox *>(control);
        int index = -1;
        if (const auto n = script::ParseIndexWord(value))
            index = *n < combo->count() ? *n : -1;
        else
            index = combo->findText(FromUtf8(value), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0)
            throw ScriptError(name + " offers no item " + script::Quote(value));
        giveFocus();
        combo->setCurrentIndex(index);
        // What the combo box reports when a user picks an item from its list.
        emit combo->activated(index);
        emit combo->textActivated(combo->itemText(index));
        return;
    }
    case Kind::List: {
        auto *list = static_cast<QListWidget *>(control);
        int index = -1;
        if (const auto n = script::ParseIndexWord(value)) {
            index = *n < list->count() ? *n : -1;
        } else {
            const auto items =
                list->findItems(FromUtf8(value), Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (!items.isEmpty())
                index = list->row(items.front());
        }
        if (index < 0)
            throw ScriptError(name + " offers no item " + script::Quote(value));
        giveFocus();
        // A click on the item, scrolled into view first as a user would.
        QListWidgetItem *item = list->item(index);
        list->scrollToItem(item);
        const QPoint centre = list->visualItemRect(item).center();
        QWidget &viewport = *list->viewport();
        SendMouse(viewport, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton,
                  QtModifiers(modifiersDown_));
        SendMouse(viewport, QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton,
                  QtModifiers(modifiersDown_));
        if (list->currentRow() != index)
            throw ScriptError("the click did not select item #" + std::to_string(index) + " of " +
                              name);
        return;
    }
    case Kind::TrackBar:
    case Kind::ScrollBar: {
        auto *slider = static_cast<QAbstractSlider *>(control);
        const auto position = ParseDecimal(value);
        if (!position || *position < slider->minimum() || *position > slider->maximum())
            throw ScriptError(name + " takes a position from " + std::to_string(slider->minimum()) +
                              " to " + std::to_string(slider->maximum()) + ", not " +
                              script::Quote(value));
        giveFocus();
        // As a drag of the thumb: the slider's action, then its change.
        slider->setSliderPosition(*position);
        return;
    }
    case Kind::Edit: {
        auto *edit = static_cast<QLineEdit *>(control);
        if (edit->isReadOnly())
            throw ScriptError(name + " is read-only");
        giveFocus();
        // The whole text replaced in one edit, as when it is selected and the new text typed
        // over it; the box keeps to its length limit as it does for typing.
        edit->selectAll();
        edit->insert(FromUtf8(value));
        return;
    }
    case Kind::CheckBox:
    case Kind::Radio:
    case Kind::SpeedButton:
    case Kind::MenuItem:
        SetChecked(control, name, value);
        return;
    default:
        throw ScriptError(name + " is a " + KindWord(kind) + "; it can not be set");
    }
}

void ScriptRunner::KeyEvent(const std::string &key, bool press, unsigned modifiers) {
    QWindow *window = window_ ? window_->windowHandle() : nullptr;
    if (window == nullptr)
        throw ScriptError("the window is not shown");
    const unsigned shift = static_cast<unsigned>(script::Modifier::Shift);
    const KeyInfo info = KeyOf(key, (modifiers & shift) != 0);
    const unsigned typing = static_cast<unsigned>(script::Modifier::Ctrl) |
                            static_cast<unsigned>(script::Modifier::Alt);
    Qt::KeyboardModifiers qtModifiers = QtModifiers(modifiers);
    if (info.Keypad)
        qtModifiers |= Qt::KeypadModifier;
    qt_handleKeyEvent(window, press ? QEvent::KeyPress : QEvent::KeyRelease, info.Code, qtModifiers,
                      (modifiers & typing) != 0 ? QString() : info.Text, false, 1);
}

void ScriptRunner::Key(const script::Chord &chord) {
    if (keysDown_.count(chord.Key) != 0)
        throw ScriptError(chord.Key + " is down; keyup it first");
    // Modifiers of the chord that are not held yet go down first and up last, in the order a
    // hand presses them.
    static const std::string kModifierKeys[] = {"Shift", "Ctrl", "Alt"};
    std::vector<std::string> pressed;
    for (const auto &modifier : kModifierKeys) {
        const unsigned bit = ModifierBit(modifier);
        if ((chord.Modifiers & bit) != 0 && (modifiersDown_ & bit) == 0) {
            KeyEvent(modifier, true, modifiersDown_);
            modifiersDown_ |= bit;
            pressed.push_back(modifier);
        }
    }
    const unsigned own = ModifierBit(chord.Key);
    KeyEvent(chord.Key, true, modifiersDown_);
    KeyEvent(chord.Key, false, modifiersDown_ | own);
    for (auto it = pressed.rbegin(); it != pressed.rend(); ++it) {
        KeyEvent(*it, false, modifiersDown_);
        modifiersDown_ &= ~ModifierBit(*it);
    }
}

void ScriptRunner::Mouse(const script::MouseAction &mouse) {
    const std::string target = mouse.Target.empty() ? std::string("imgWaveTables") : mouse.Target;
    QWidget *image = FindWidget(target);
    if (KindOf(image) != Kind::Image)
        throw ScriptError(target + " is a " + KindWord(KindOf(image)) + ", not a picture");
    if (!Reachable(image, target))
        return;
    const Qt::MouseButton button = mouse.Button == script::MouseButton::Left     ? Qt::LeftButton
                                   : mouse.Button == script::MouseButton::Right  ? Qt::RightButton
                                   : mouse.Button == script::MouseButton::Middle ? Qt::MiddleButton
                                                                                 : Qt::NoButton;
    Qt::KeyboardModifiers modifiers = QtModifiers(modifiersDown_);
    if (mouse.Ctrl)
        modifiers |= Qt::ControlModifier;
    const QPoint pos(mouse.X, mouse.Y);
    const char *buttonWord = button == Qt::LeftButton    ? "left"
                             : button == Qt::RightButton ? "right"
                                                         : "middle";
    switch (mouse.Phase) {
    case script::MousePhase::Down:
        if (buttonsDown_.testFlag(button))
            throw ScriptError(std::string("the ") + buttonWord + " button is already down");
        buttonsDown_ |= button;
        SendMouse(*image, QEvent::MouseButtonPress, pos, button, buttonsDown_, modifiers);
        return;
    case script::MousePhase::Move:
        SendMouse(*image, QEvent::MouseMove, pos, Qt::NoButton, buttonsDown_ | button, modifiers);
        return;
    case script::MousePhase::Up:
        if (!buttonsDown_.testFlag(button))
            throw ScriptError(std::string("the ") + buttonWord + " button is not down");
        buttonsDown_ &= ~Qt::MouseButtons(button);
        SendMouse(*image, QEvent::MouseButtonRelease, pos, button, buttonsDown_, modifiers);
        return;
    }
}

void ScriptRunner::Tick(const std::string &name, int count) {
    auto *timer = qobject_cast<QTimer *>(Find(name));
    if (timer == nullptr)
        throw ScriptError(name + " is not a timer");
    for (int i = 0; i < count && !dialogs_.Failed(); ++i) {
        // The timer's own signal, as its interval elapsing would send it.
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        QCoreApplication::sendPostedEvents();
    }
}

void ScriptRunner::Drop(const std::string &path) {
    // What a file manager hands over: the file's URL, dragged in over the middle of the
    // window and let go there.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QFileInfo(FromUtf8(path)).absoluteFilePath())});
    QWidget &client = target_.ClientArea();
    const QPointF at = QPointF(client.mapTo(window_.data(), client.rect().center()));
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.data(), &enter);
    if (!enter.isAccepted()) {
        Line("ignored: the window does not take " + script::Quote(path));
        return;
    }
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.data(), &drop);
}

void ScriptRunner::Wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void ScriptRunner::SaveBuffers(const std::string &path) {
    const auto samples = target_.PlayBuffers();
    if (!samples)
        throw ScriptError("there is no audio generator; Play makes one");
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    for (const std::int16_t sample : *samples) {
        const auto bits = static_cast<std::uint16_t>(sample);
        const char bytes[2] = {static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8)};
        file.write(bytes, 2);
    }
    file.close();
    if (!file)
        throw ScriptError("can not write " + script::Quote(path));
}

void ScriptRunner::Print(const std::string &name) {
    if (name == "title") {
        Line("title: " + Utf8(target_.Window().windowTitle()));
        return;
    }
    if (name == "modified") {
        Line(std::string("modified: ") + (target_.Modified() ? "1" : "0"));
        return;
    }
    if (name == "current") {
        Line("current: " + std::to_string(target_.CurrentWave()));
        return;
    }
    if (name == "history") {
        Line("history: " + target_.History());
        return;
    }
    if (name == "harmonics") {
        for (const std::string &line : target_.HarmonicLines())
            Line(line);
        return;
    }
    QObject *control = Find(name);
    const Kind kind = KindOf(control);
    const std::string prefix = name + ": ";
    const std::string disabled = IsEnabled(control) ? "" : " disabled";
    switch (kind) {
    case Kind::Button:
        Line(prefix + Utf8(CaptionOf(control)) + disabled);
        return;
    case Kind::CheckBox:
    case Kind::Radio:
    case Kind::SpeedButton:
    case Kind::MenuItem:
    case Kind::Menu:
        Line(prefix + (IsChecked(control) ? "checked" : "unchecked") + disabled + " " +
             script::Quote(Utf8(qobject_cast<const QMenu *>(control) != nullptr
                                    ? static_cast<const QMenu *>(control)->title()
                                    : CaptionOf(control))));
        return;
    case Kind::Label:
    case Kind::Group:
    case Kind::Edit:
    case Kind::Combo:
        Line(prefix + Utf8(CaptionOf(control)));
        return;
    case Kind::List: {
        const auto *list = static_cast<const QListWidget *>(control);
        const int row = list->currentRow();
        Line(prefix + (row < 0 ? std::string("none")
                               : "#" + std::to_string(row) + " " + Utf8(list->item(row)->text())));
        return;
    }
    case Kind::TrackBar:
    case Kind::ScrollBar:
        Line(prefix + std::to_string(static_cast<const QAbstractSlider *>(control)->value()));
        return;
    case Kind::Memo: {
        const QString text = CaptionOf(control);
        if (text.isEmpty())
            return;
        for (const QString &line : text.split(QLatin1Char('\n')))
            Line(prefix + Utf8(line));
        return;
    }
    case Kind::Timer: {
        const auto *timer = static_cast<const QTimer *>(control);
        Line(prefix + (timer->isActive() ? "enabled" : "disabled") +
             " interval=" + std::to_string(timer->interval()));
        return;
    }
    case Kind::Image:
        // The graph's pointer tooltip, once the mouse has been over it.
        if (const auto *view = qobject_cast<const qt::TImageView *>(control);
            view != nullptr && !view->PointerText().isEmpty()) {
            Line(prefix + Utf8(view->PointerText()));
            return;
        }
        throw ScriptError(name + " is a picture; save it with save-graph or save-overview");
    case Kind::Window:
        Line(prefix + (static_cast<const QWidget *>(control)->isVisible() ? "shown" : "closed") +
             " " + script::Quote(Utf8(CaptionOf(control))));
        return;
    case Kind::Other:
        break;
    }
    throw ScriptError(name + " can not be printed");
}

void ScriptRunner::ListWidgets() {
    QWidget &window = target_.Window();
    QWidget &client = target_.ClientArea();
    QPoint origin = client.mapToGlobal(QPoint(0, 0));
    // The main window's controls first; the tool windows it owns follow, each after a line of
    // its own, with places in its own client area.
    std::vector<QWidget *> toolWindows;
    std::function<void(QObject *)> visit = [&](QObject *parent) {
        for (QObject *child : parent->children()) {
            auto *widget = qobject_cast<QWidget *>(child);
            if (widget == nullptr || qobject_cast<QMenuBar *>(widget) != nullptr ||
                qobject_cast<QMenu *>(widget) != nullptr)
                continue;
            if (KindOf(widget) == Kind::Window) {
                if (!widget->objectName().isEmpty())
                    toolWindows.push_back(widget);
                continue;
            }
            const QString name = widget->objectName();
            const Kind kind = KindOf(widget);
            if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_")) && kind != Kind::Other) {
                const QPoint at = widget->mapToGlobal(QPoint(0, 0)) - origin;
                Line("widget: " + Utf8(name) + " " + KindWord(kind) + " " + std::to_string(at.x()) +
                     "," + std::to_string(at.y()) + "," + std::to_string(widget->width()) + "," +
                     std::to_string(widget->height()) +
                     (widget->isVisibleTo(&window) ? " visible" : " hidden") +
                     (widget->isEnabled() ? " enabled " : " disabled ") +
                     script::Quote(Utf8(CaptionOf(widget))));
            }
            visit(widget);
        }
    };
    visit(&window);
    for (QWidget *tool : toolWindows) {
        Line("widget: " + Utf8(tool->objectName()) + " window 0,0," +
             std::to_string(tool->width()) + "," + std::to_string(tool->height()) +
             (tool->isVisible() ? " visible" : " hidden") +
             (tool->isEnabled() ? " enabled " : " disabled ") +
             script::Quote(Utf8(tool->windowTitle())));
        origin = tool->mapToGlobal(QPoint(0, 0));
        visit(tool);
    }

    QMenuBar *bar = window.findChild<QMenuBar *>();
    if (bar == nullptr)
        return;
    std::function<void(QMenu *, const QString &)> menu = [&](QMenu *list, const QString &path) {
        for (QAction *action : list->actions()) {
            if (action->isSeparator()) {
                Line("menu: " + Utf8(path) + "/- -");
                continue;
            }
            QMenu *sub = action->menu();
            const QString caption = action->text();
            QString name = action->objectName();
            if (name.isEmpty() && sub != nullptr)
                name = sub->objectName();
            Line("menu: " + Utf8(path + QLatin1Char('/') + PlainCaption(caption)) + " " +
                 Utf8(name.isEmpty() ? QStringLiteral("-") : name) + " " +
                 script::Quote(Utf8(caption)) + " " + ShortcutText(*action) +
                 (action->isChecked() ? " checked" : " unchecked") +
                 (action->isEnabled() ? " enabled" : " disabled"));
            if (sub != nullptr)
                menu(sub, path + QLatin1Char('/') + PlainCaption(caption));
        }
    };
    for (QAction *top : bar->actions())
        if (QMenu *sub = top->menu())
            menu(sub, PlainCaption(top->text()));
}

} // namespace morvane::cli
