#include "cli/commands.h"

#include <algorithm>

#include "cli/audition_command.h"
#include "cli/exchange_commands.h"
#include "cli/midi_commands.h"
#include "script/script_parser.h"

namespace morvane::cli {

const std::vector<Command> &Commands() {
    static const std::vector<Command> commands = {
        {"run", "run FILE",
         "run the editor script in FILE (- reads standard input) against the main window",
         RunScriptCommand},
        {"convert", "convert IN OUT",
         "convert a table between .syx, .mid, Morvane's .wav, the 2048 export and audio files",
         ConvertCommand},
        {"info", "info FILE", "tell what a table, MIDI or audio file holds", InfoCommand},
        {"render", "render IN OUT.png", "draw the overview and the graph of every wave",
         RenderCommand},
        {"audition", "audition IN OUT.wav [OPTIONS]",
         "render one note as the audition plays it (position moving) into a float WAV",
         AuditionCommand},
        {"send", "send FILE.syx [--port NAME] [--pause MS]",
         "send a .syx file's messages to a MIDI port, paced", SendCommand},
        {"ports", "ports", "list the MIDI output ports", PortsCommand},
    };
    return commands;
}

std::string Usage() {
    std::string text = "Usage: morvane-cli COMMAND [ARGUMENTS]\n"
                       "       morvane-cli --help\n"
                       "\n"
                       "Commands:\n";
    for (const auto &command : Commands()) {
        std::string synopsis = std::string("  ") + command.Synopsis;
        synopsis.resize(std::max<std::size_t>(synopsis.size() + 2, 24), ' ');
        text += synopsis + command.Summary + "\n";
    }
    text += "\n"
            "A script holds one action per line; words are separated by blanks, a word in\n"
            "double quotes may hold blanks (\\\" and \\\\ inside), lines starting with # are\n"
            "comments. Controls are named as in the main window (btnAdd, Addwave1, cmbWave).\n"
            "Actions:\n";
    text += script::LanguageSummary();
    text += "\n"
            "Exit status: 0 when the script ran to its end, 2 at the first line that could not\n"
            "be run (named on standard error as FILE:LINE), when a dialog had no queued\n"
            "answer, or when queued answers were left over at the end.\n";
    return text;
}

} // namespace morvane::cli
