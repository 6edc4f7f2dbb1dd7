#include "cli/widget_lookup.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "script/script_parser.h"

namespace morvane::cli {

ControlKind KindOf(const QObject *object) {
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->menu() != nullptr ? ControlKind::Menu : ControlKind::MenuItem;
    if (qobject_cast<const QMenu *>(object) != nullptr)
        return ControlKind::Menu;
    if (qobject_cast<const QTimer *>(object) != nullptr)
        return ControlKind::Timer;
    if (!object->isWidgetType())
        return ControlKind::Other;
    // A tool window the main window owns (its own frame, found and listed with it).
    if (static_cast<const QWidget *>(object)->isWindow() &&
        qobject_cast<const QDialog *>(object) == nullptr)
        return ControlKind::Window;
    // Pictures are named after their kind ("img..."), whatever widget shows them.
    if (object->objectName().startsWith(QStringLiteral("img")))
        return ControlKind::Image;
    if (qobject_cast<const QCheckBox *>(object) != nullptr)
        return ControlKind::CheckBox;
    if (qobject_cast<const QRadioButton *>(object) != nullptr)
        return ControlKind::Radio;
    if (qobject_cast<const QToolButton *>(object) != nullptr)
        return ControlKind::SpeedButton;
    if (qobject_cast<const QAbstractButton *>(object) != nullptr)
        return ControlKind::Button;
    if (qobject_cast<const QComboBox *>(object) != nullptr)
        return ControlKind::Combo;
    if (qobject_cast<const QListWidget *>(object) != nullptr)
        return ControlKind::List;
    if (qobject_cast<const QLineEdit *>(object) != nullptr)
        return ControlKind::Edit;
    if (qobject_cast<const QPlainTextEdit *>(object) != nullptr ||
        qobject_cast<const QTextEdit *>(object) != nullptr)
        return ControlKind::Memo;
    if (qobject_cast<const QGroupBox *>(object) != nullptr)
        return ControlKind::Group;
    if (qobject_cast<const QSlider *>(object) != nullptr)
        return ControlKind::TrackBar;
    if (qobject_cast<const QScrollBar *>(object) != nullptr)
        return ControlKind::ScrollBar;
    if (qobject_cast<const QLabel *>(object) != nullptr)
        return ControlKind::Label;
    return ControlKind::Other;
}

const char *KindWord(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
        return "button";
    case ControlKind::SpeedButton:
        return "speedbutton";
    case ControlKind::CheckBox:
        return "checkbox";
    case ControlKind::Radio:
        return "radio";
    case ControlKind::Combo:
        return "combo";
    case ControlKind::List:
        return "list";
    case ControlKind::Edit:
        return "edit";
    case ControlKind::Memo:
        return "memo";
    case ControlKind::Label:
        return "label";
    case ControlKind::Group:
        return "group";
    case ControlKind::TrackBar:
        return "trackbar";
    case ControlKind::ScrollBar:
        return "scrollbar";
    case ControlKind::Image:
        return "image";
    case ControlKind::MenuItem:
        return "menu item";
    case ControlKind::Menu:
        return "menu";
    case ControlKind::Timer:
        return "timer";
    case ControlKind::Window:
        return "window";
    case ControlKind::Other:
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

QObject *FindControl(const QWidget &window, const std::string &name) {
    const auto found = window.findChildren<QObject *>(FromUtf8(name));
    for (QObject *object : found)
        if (KindOf(object) != ControlKind::Other)
            return object;
    throw script::ScriptError("unknown control " + script::Quote(name));
}

} // namespace morvane::cli
