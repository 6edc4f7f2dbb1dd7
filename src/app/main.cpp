// The editor: one main window over the real dialogs, the system clock and the system's sound
// output. It takes no command-line options.
#include <memory>
#include <string>

#include <QByteArray>

#include "audio/portaudio/portaudio_wave_out.h"
#include "files/settings_file.h"
#include "edit/random.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/window_scale.h"

int main(int argc, char **argv) {
    // The window scale chosen under Tools: Qt reads it once, before the application exists.
    const int scale = morvane::ui::LoadWindowScale(morvane::files::DefaultSettingsFilePath());
    for (const auto &[name, value] : morvane::ui::WindowScaleEnvironment(scale))
        qputenv(name.c_str(), QByteArray::fromStdString(value));
    morvane::TApplication app(argc, argv);
    morvane::QtDialogs dialogs;
    morvane::SystemClock clock;
    app.SetErrorDialogs(&dialogs);
    // Without a sound device the editor still runs, silently; the reason goes to the log.
    std::string audioError;
    const std::unique_ptr<morvane::WaveOut> waveOut = morvane::CreateSystemWaveOut(&audioError);

    morvane::MainWindowPorts ports;
    ports.dialogs = &dialogs;
    ports.clock = &clock;
    ports.waveOut = waveOut.get();
    morvane::TfrmMain window(ports);
    if (!audioError.empty())
        window.LogMessage(audioError);
    window.show();
    return morvane::TApplication::exec();
}
