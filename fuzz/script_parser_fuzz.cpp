// The script language over any text: every line is either run, skipped or refused with a
// ScriptError (nothing else may escape), and the words of a line survive quoting: quoting each
// word and splitting the joined line again gives the same words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "script/script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace morvane;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    int previous = 0;
    for (const script::ScriptLine &line : script::SplitLines(text)) {
        fuzz::Check(line.Number > previous);
        previous = line.Number;
        fuzz::Check(line.Text.find('\n') == std::string::npos);
        try {
            (void)script::ParseLine(line.Text);
        } catch (const script::ScriptError &) {
        }
        std::vector<std::string> words;
        try {
            words = script::SplitWords(line.Text);
        } catch (const script::ScriptError &) {
            continue;
        }
        std::string joined;
        for (const std::string &word : words)
            joined += (joined.empty() ? "" : " ") + script::Quote(word);
        fuzz::Check(script::SplitWords(joined) == words);
    }
    return 0;
}
