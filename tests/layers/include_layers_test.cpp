// Every #include "..." of src/ must point to its own layer or to one below it. The order is the
// one README.md gives under "Where the code lives"; change both together.
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Layers by tier, lowest first. A layer may include its own headers and those of any lower
// tier; layers of the same tier (siblings) may not include each other.
struct Layer {
    std::string_view Folder; // below src/
    int Tier;
};
constexpr std::array<Layer, 13> kLayers = {{
    {"document", 0},
    {"files", 1},
    {"edit", 1},
    {"render", 2},
    {"synth", 2},
    {"motion", 3},
    {"audio", 4},
    {"midi", 4},
    {"exchange", 4},
    {"ui", 5},
    {"script", 6},
    {"ui/qt", 7},
    {"app", 8},
}};

// The layer of a path below src/ (a file, or an include written as it is): the longest folder
// of kLayers it starts with. Backends such as audio/portaudio belong to their parent's layer.
std::optional<Layer> LayerOf(std::string_view path) {
    std::optional<Layer> found;
    for (const Layer &layer : kLayers) {
        const bool inside = path.size() > layer.Folder.size() &&
                            path.substr(0, layer.Folder.size()) == layer.Folder &&
                            path[layer.Folder.size()] == '/';
        if (inside && (!found || layer.Folder.size() > found->Folder.size()))
            found = layer;
    }
    return found;
}

// The app's own headers are included relative to src/app ("cli/commands.h").
bool Allowed(std::string_view from, std::string_view included) {
    const std::optional<Layer> source = LayerOf(from);
    if (!source)
        return false;
    const std::optional<Layer> target =
        source->Folder == "app" && included.substr(0, 4) == "cli/" ? source : LayerOf(included);
    if (!target)
        return false;
    return target->Folder == source->Folder || target->Tier < source->Tier;
}

// Only the Qt layer and the app may see Qt.
bool QtAllowed(std::string_view from) {
    const std::optional<Layer> source = LayerOf(from);
    return source && source->Tier >= 7;
}

TEST(IncludeLayers, TheMatrixRefusesTheArrowsThatOnceRanTheWrongWay) {
    EXPECT_FALSE(Allowed("motion/motion_path.cpp", "ui/canvas.h"));
    EXPECT_FALSE(Allowed("exchange/table_files.h", "ui/canvas.h"));
    EXPECT_FALSE(Allowed("exchange/import_choices.h", "ui/import_audio_choices.h"));
    EXPECT_FALSE(Allowed("midi/midi_settings.cpp", "audio/settings_file.h"));
    EXPECT_FALSE(Allowed("ui/script_parser.h", "script/script_parser.h"));
    EXPECT_FALSE(Allowed("render/drawing.cpp", "motion/motion_path.h"));
    EXPECT_FALSE(Allowed("files/syx_file.cpp", "edit/history.h"));
    EXPECT_FALSE(Allowed("edit/random.cpp", "nowhere/thing.h"));
    EXPECT_FALSE(QtAllowed("ui/dialogs.h"));
    EXPECT_TRUE(Allowed("motion/motion_path.h", "render/path_drawing.h"));
    EXPECT_TRUE(Allowed("midi/rtmidi/rtmidi_out.h", "midi/midi_out.h"));
    EXPECT_TRUE(Allowed("ui/qt/main_window.h", "ui/dialogs.h"));
    EXPECT_TRUE(Allowed("app/cli/commands.cpp", "cli/commands.h"));
    EXPECT_TRUE(QtAllowed("app/cli/script_runner.cpp"));
}

TEST(IncludeLayers, EveryIncludeOfTheSourcesPointsDownwards) {
    const fs::path root = MORVANE_SOURCE_DIR;
    std::vector<std::string> wrong;
    int files = 0;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        ++files;
        const std::string from = entry.path().lexically_relative(root).generic_string();
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const std::string_view text(line);
            const std::size_t start = text.find_first_not_of(" \t");
            if (start == std::string_view::npos || text.substr(start, 8) != "#include")
                continue;
            const std::string_view rest = text.substr(start + 8);
            const std::size_t open = rest.find_first_of("\"<");
            if (open == std::string_view::npos)
                continue;
            const char close = rest[open] == '"' ? '"' : '>';
            const std::string_view name =
                rest.substr(open + 1, rest.find(close, open + 1) - open - 1);
            const bool ok =
                close == '"' ? Allowed(from, name) : name.substr(0, 1) != "Q" || QtAllowed(from);
            if (!ok)
                wrong.push_back(from + ":" + std::to_string(number) + ": " + std::string(name));
        }
    }
    EXPECT_GT(files, 100) << "the sources were not found under " << root;
    EXPECT_TRUE(wrong.empty()) << "includes against the layer order:\n"
                               << [&] {
                                      std::string all;
                                      for (const std::string &w : wrong)
                                          all += "  " + w + "\n";
                                      return all;
                                  }();
}

} // namespace
