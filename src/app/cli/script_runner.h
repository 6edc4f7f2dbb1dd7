#pragma once

#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "edit/random.h"
#include "script/script_parser.h"
#include "script/scripted_dialogs.h"

class QAbstractButton;
class QAction;
class QWidget;

namespace morvane::cli {

class ScriptTarget;

// Runs a script of user actions against a window: finds each control by its objectName and
// acts on it as a user would (a click, a choice, typed text, keys through the window system so
// that shortcuts and key preview behave as on a desktop, mouse events on the graph). Dialogs
// are answered by the ScriptedDialogs the window was given; `clock` is the window's clock.
//
// Timers fire only when the script ticks them or waits, so a run gives the same output every
// time.
class ScriptRunner final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScriptRunner)

public:
    ScriptRunner(ScriptTarget &target, script::ScriptedDialogs &dialogs, edit::FixedClock &clock,
                 std::ostream &out);
    ~ScriptRunner() override;

    // Runs the lines of `text` in order. Returns 0 when the end is reached with every queued
    // answer used, 2 at the first line that can not be run, after writing one line
    // "FILE:LINE: reason" to `err`.
    int Run(const std::string &fileName, std::string_view text, std::ostream &err);

public slots:
    // A web page the window opens: reported instead of started.
    void OpenUrl(const QUrl &url);

private:
    void Execute(const script::Action &action, int line);
    void Click(const std::string &name);
    void PressOrRelease(const std::string &name, bool press);
    void Set(const std::string &name, const std::string &value);
    void SetChecked(QObject *control, const std::string &name, const std::string &value);
    void Key(const script::Chord &chord);
    void KeyEvent(const std::string &key, bool press, unsigned modifiers);
    void Mouse(const script::MouseAction &mouse);
    void Tick(const std::string &name, int count);
    void Drop(const std::string &path);
    void Print(const std::string &name);
    void ListWidgets();
    void Wait(int milliseconds);
    void SaveBuffers(const std::string &path);
    void CheckForModalWindows();

    QObject *Find(const std::string &name) const;
    QWidget *FindWidget(const std::string &name) const;
    // False, after printing why, when a user could not reach the control.
    bool Reachable(QObject *control, const std::string &name);
    void Line(const std::string &text);

    ScriptTarget &target_;
    script::ScriptedDialogs &dialogs_;
    edit::FixedClock &clock_;
    std::ostream &out_;
    QPointer<QWidget> window_;
    QTimer modalGuard_;
    std::set<std::string> keysDown_;
    unsigned modifiersDown_ = 0;
    Qt::MouseButtons buttonsDown_;
};

} // namespace morvane::cli
