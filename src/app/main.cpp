// The editor: one main window over the real dialogs, the system clock and the system's sound
// and MIDI outputs. It takes no command-line options; a file named after it is opened at start.
#include <memory>
#include <string>

#include <QByteArray>
#include <QTimer>

#include "audio/portaudio/portaudio_wave_out.h"
#include "edit/random.h"
#include "files/settings_file.h"
#include "midi/rtmidi/rtmidi_in.h"
#include "midi/rtmidi/rtmidi_out.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/window_scale.h"

int main(int argc, char **argv) {
    // The window scale chosen under Tools: Qt reads it once, before the application exists.
    const int scale = morvane::ui::LoadWindowScale(morvane::files::DefaultSettingsFilePath());
    for (const auto &[name, value] : morvane::ui::WindowScaleEnvironment(scale))
        qputenv(name.c_str(), QByteArray::fromStdString(value));
    morvane::qt::TApplication app(argc, argv);
    morvane::qt::QtDialogs dialogs;
    morvane::edit::SystemClock clock;
    app.SetErrorDialogs(&dialogs);
    // Without a sound device the editor still runs, silently; the reason goes to the log.
    std::string audioError;
    const std::unique_ptr<morvane::audio::WaveOut> waveOut =
        morvane::audio::CreateSystemWaveOut(&audioError);

    morvane::qt::MainWindowPorts ports;
    ports.dialogs = &dialogs;
    ports.clock = &clock;
    ports.waveOut = waveOut.get();
    ports.midiOut = morvane::midi::CreateRtMidiOut;
    ports.midiIn = morvane::midi::CreateRtMidiIn;
    // The audition's stream comes from the same PortAudio (none without it: a silent one).
    ports.streamOut = dynamic_cast<morvane::audio::AudioStreamOut *>(waveOut.get());
    morvane::qt::TfrmMain window(ports);
    if (!audioError.empty())
        window.LogMessage(audioError);
    window.show();
    // Once the window is on screen, so that the questions an import asks appear over it.
    if (const auto file = morvane::qt::TfrmMain::FileArgument(QCoreApplication::arguments()))
        QTimer::singleShot(0, &window,
                           [&window, path = file->toStdString()] { window.OpenFileAtStart(path); });
    return morvane::qt::TApplication::exec();
}
