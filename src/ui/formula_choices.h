#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::ui {

// A worked example of the formula window: a short caption and its expression.
struct FormulaExample {
    std::string_view Caption;
    std::string_view Expression;
};

inline constexpr std::size_t kFormulaExampleCount = 12;
// The examples in the order the window lists them; each stays within -1..1 over a whole table.
extern const std::array<FormulaExample, kFormulaExampleCount> kFormulaExamples;

// The expressions the formula window remembers, newest first, in section "Formulas" of the
// settings file (keys Formula1..Formula20).
inline constexpr std::string_view kFormulaSection = "Formulas";
inline constexpr std::size_t kFormulaHistorySize = 20;

// Puts `expression` (without blanks at its ends) first, drops an equal entry further down and
// keeps the newest kFormulaHistorySize. An empty expression leaves the list as it is.
void RememberFormula(std::vector<std::string> &history, std::string_view expression);

// Reads the remembered expressions; a missing or unreadable file, section or key is no error.
// Empty values and repeats are skipped, at most kFormulaHistorySize are kept.
std::vector<std::string> LoadFormulaHistory(const std::filesystem::path &path);

// Writes all kFormulaHistorySize keys (empty beyond the list) into section "Formulas", keeping
// every other line of the file (files::WriteSettingsSection). Throws
// Error("Unable to write to <path>").
void SaveFormulaHistory(const std::vector<std::string> &history, const std::filesystem::path &path);

} // namespace morvane::ui
