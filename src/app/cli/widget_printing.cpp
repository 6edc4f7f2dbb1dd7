#include "cli/widget_printing.h"

#include <functional>
#include <vector>

#include <QAbstractSlider>
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>

#include "cli/widget_lookup.h"
#include "script/script_parser.h"
#include "ui/qt/image_view.h"

namespace morvane::cli {

void PrintControl(const QObject *control, const std::string &name, const LineSink &write) {
    const ControlKind kind = KindOf(control);
    const std::string prefix = name + ": ";
    const std::string disabled = IsEnabled(control) ? "" : " disabled";
    switch (kind) {
    case ControlKind::Button:
        write(prefix + Utf8(CaptionOf(control)) + disabled);
        return;
    case ControlKind::CheckBox:
    case ControlKind::Radio:
    case ControlKind::SpeedButton:
    case ControlKind::MenuItem:
    case ControlKind::Menu:
        write(prefix + (IsChecked(control) ? "checked" : "unchecked") + disabled + " " +
              script::Quote(Utf8(qobject_cast<const QMenu *>(control) != nullptr
                                     ? static_cast<const QMenu *>(control)->title()
                                     : CaptionOf(control))));
        return;
    case ControlKind::Label:
    case ControlKind::Group:
    case ControlKind::Edit:
    case ControlKind::Combo:
        write(prefix + Utf8(CaptionOf(control)));
        return;
    case ControlKind::List: {
        const auto *list = static_cast<const QListWidget *>(control);
        const int row = list->currentRow();
        write(prefix + (row < 0 ? std::string("none")
                                : "#" + std::to_string(row) + " " + Utf8(list->item(row)->text())));
        return;
    }
    case ControlKind::TrackBar:
    case ControlKind::ScrollBar:
        write(prefix + std::to_string(static_cast<const QAbstractSlider *>(control)->value()));
        return;
    case ControlKind::Memo: {
        const QString text = CaptionOf(control);
        if (text.isEmpty())
            return;
        for (const QString &line : text.split(QLatin1Char('\n')))
            write(prefix + Utf8(line));
        return;
    }
    case ControlKind::Timer: {
        const auto *timer = static_cast<const QTimer *>(control);
        write(prefix + (timer->isActive() ? "enabled" : "disabled") +
              " interval=" + std::to_string(timer->interval()));
        return;
    }
    case ControlKind::Image:
        // The graph's pointer tooltip, once the mouse has been over it.
        if (const auto *view = qobject_cast<const qt::TImageView *>(control);
            view != nullptr && !view->PointerText().isEmpty()) {
            write(prefix + Utf8(view->PointerText()));
            return;
        }
        throw script::ScriptError(name + " is a picture; save it with save-graph or save-overview");
    case ControlKind::Window:
        write(prefix + (static_cast<const QWidget *>(control)->isVisible() ? "shown" : "closed") +
              " " + script::Quote(Utf8(CaptionOf(control))));
        return;
    case ControlKind::Other:
        break;
    }
    throw script::ScriptError(name + " can not be printed");
}

void ListWidgets(QWidget &window, QWidget &client, const LineSink &write) {
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
            if (KindOf(widget) == ControlKind::Window) {
                if (!widget->objectName().isEmpty())
                    toolWindows.push_back(widget);
                continue;
            }
            const QString name = widget->objectName();
            const ControlKind kind = KindOf(widget);
            if (!name.isEmpty() && !name.startsWith(QStringLiteral("qt_")) &&
                kind != ControlKind::Other) {
                const QPoint at = widget->mapToGlobal(QPoint(0, 0)) - origin;
                write("widget: " + Utf8(name) + " " + KindWord(kind) + " " +
                      std::to_string(at.x()) + "," + std::to_string(at.y()) + "," +
                      std::to_string(widget->width()) + "," + std::to_string(widget->height()) +
                      (widget->isVisibleTo(&window) ? " visible" : " hidden") +
                      (widget->isEnabled() ? " enabled " : " disabled ") +
                      script::Quote(Utf8(CaptionOf(widget))));
            }
            visit(widget);
        }
    };
    visit(&window);
    for (QWidget *tool : toolWindows) {
        write("widget: " + Utf8(tool->objectName()) + " window 0,0," +
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
                write("menu: " + Utf8(path) + "/- -");
                continue;
            }
            QMenu *sub = action->menu();
            const QString caption = action->text();
            QString name = action->objectName();
            if (name.isEmpty() && sub != nullptr)
                name = sub->objectName();
            write("menu: " + Utf8(path + QLatin1Char('/') + PlainCaption(caption)) + " " +
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
