#include "ui/formula_choices.h"

#include <algorithm>

#include "files/settings_file.h"
#include "midi/midi_settings.h"

namespace morvane::ui {

namespace fs = std::filesystem;

// y runs -1..1 and z 0..1 over the waves the formula writes, so each example is a sweep when
// it is written over a range of waves.
const std::array<FormulaExample, kFormulaExampleCount> kFormulaExamples{{
    {"Pulse-width sweep", "(x<y)*2-1"},
    {"Phase-modulation sweep", "sin(2*pi*w + z*sin(4*pi*w))"},
    {"Hard sync sweep", "sin(2*pi*w*(1+7*z))"},
    {"Harmonic sweep", "(sin(2*pi*w) + z*(sin(4*pi*w)/2 + sin(6*pi*w)/3 + sin(8*pi*w)/4))/1.6"},
    {"Wavefolder sweep", "sin((1+4*z)*sin(2*pi*w)*pi/2)"},
    {"Drive sweep", "tanh((1+9*z)*sin(2*pi*w))/tanh(1+9*z)"},
    {"Formant sweep", "sin(2*pi*(1+11*z)*w)*(1-w)"},
    {"Bit-crush sweep", "rint(sin(2*pi*w)*rint(16-14*z))/rint(16-14*z)"},
    {"Saw into square", "(1-z)*(-x) + z*((x<0)*2-1)"},
    {"Octave phase sweep", "(sin(2*pi*w) + sin(4*pi*w + z*pi))/2"},
    {"Sine into noise", "(1-z)*sin(2*pi*w) + z*(2*rand()-1)"},
    {"Triangle", "1-2*abs(x)"},
}};

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string KeyOf(std::size_t index) {
    return "Formula" + std::to_string(index + 1);
}

} // namespace

void RememberFormula(std::vector<std::string> &history, std::string_view expression) {
    const std::string entry(Trimmed(expression));
    if (entry.empty())
        return;
    std::erase(history, entry);
    history.insert(history.begin(), entry);
    if (history.size() > kFormulaHistorySize)
        history.resize(kFormulaHistorySize);
}

std::vector<std::string> LoadFormulaHistory(const fs::path &path) {
    const std::string text = files::ReadSettingsText(path);
    std::vector<std::string> history;
    // Oldest first, so that the newest ends up in front.
    for (std::size_t i = kFormulaHistorySize; i-- > 0;) {
        if (const auto value = files::ReadIniValue(text, kFormulaSection, KeyOf(i)))
            RememberFormula(history, *value);
    }
    return history;
}

void SaveFormulaHistory(const std::vector<std::string> &history, const fs::path &path) {
    files::IniKeyValues values;
    for (std::size_t i = 0; i < kFormulaHistorySize; ++i)
        values.emplace_back(KeyOf(i), i < history.size() ? midi::IniStringValue(history[i]) : "");
    files::WriteSettingsSection(path, kFormulaSection, values);
}

} // namespace morvane::ui
