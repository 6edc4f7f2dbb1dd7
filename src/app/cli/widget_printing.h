#pragma once

#include <functional>
#include <string>

class QObject;
class QWidget;

// What `print NAME` and `widgets` write about the window's controls, one line at a time.
namespace morvane::cli {

using LineSink = std::function<void(const std::string &line)>;

// The lines of `print NAME` for a control: its caption, state, value or text ("btnAdd: Add",
// "chkLoop: checked \"Loop\""). Throws script::ScriptError for one that has nothing to print.
void PrintControl(const QObject *control, const std::string &name, const LineSink &write);

// `widgets`: every named control of the window with its kind, place, size, state and caption,
// each tool window it owns after a line of its own, then every menu entry with its path,
// shortcut and state. Places are relative to `client`, the client area (to a tool window's own
// client area for its controls).
void ListWidgets(QWidget &window, QWidget &client, const LineSink &write);

} // namespace morvane::cli
