#include "cli/script_runner.h"

#include <exception>
#include <fstream>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include "cli/key_input.h"
#include "cli/script_target.h"
#include "cli/widget_lookup.h"
#include "cli/widget_printing.h"

namespace morvane::cli {

using script::ScriptError;

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
    return FindControl(*window_, name);
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
        ListWidgets(target_.Window(), target_.ClientArea(),
                    [this](const std::string &text) { Line(text); });
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
    const ControlKind kind = KindOf(control);
    switch (kind) {
    case ControlKind::MenuItem:
        if (Reachable(control, name))
            static_cast<QAction *>(control)->trigger();
        return;
    case ControlKind::Menu: {
        // Opening a menu or a submenu runs nothing; a menu is a popup, hidden until opened.
        const auto *menu = qobject_cast<const QMenu *>(control);
        if (!(menu != nullptr ? menu->menuAction()->isEnabled() : IsEnabled(control)))
            Line("ignored: " + name + " is disabled");
        return;
    }
    case ControlKind::Button:
    case ControlKind::SpeedButton:
    case ControlKind::CheckBox:
    case ControlKind::Radio: {
        if (!Reachable(control, name))
            return;
        auto *button = static_cast<QAbstractButton *>(control);
        if ((button->focusPolicy() & Qt::ClickFocus) != 0)
            button->setFocus(Qt::MouseFocusReason);
        button->click();
        return;
    }
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::Group: {
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
    const ControlKind kind = KindOf(control);
    if (!Reachable(control, name))
        return;
    auto *widget = qobject_cast<QWidget *>(control);
    auto giveFocus = [&] {
        if (widget != nullptr && (widget->focusPolicy() & Qt::ClickFocus) != 0)
            widget->setFocus(Qt::MouseFocusReason);
    };
    switch (kind) {
    case ControlKind::Combo: {
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
    case ControlKind::List: {
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
    case ControlKind::TrackBar:
    case ControlKind::ScrollBar: {
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
    case ControlKind::Edit: {
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
    case ControlKind::CheckBox:
    case ControlKind::Radio:
    case ControlKind::SpeedButton:
    case ControlKind::MenuItem:
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
    SendKey(*window, key, press, modifiers);
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
    if (KindOf(image) != ControlKind::Image)
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
    PrintControl(Find(name), name, [this](const std::string &text) { Line(text); });
}

} // namespace morvane::cli
