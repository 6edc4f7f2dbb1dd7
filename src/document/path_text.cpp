#include "document/path_text.h"

namespace morvane {

std::string ReverseString(std::string_view s) {
    return std::string(s.rbegin(), s.rend());
}

std::string ReversePath(std::string_view path, char separator) {
    // Each component is appended reversed behind a separator; reversing the whole result then
    // spells the components forwards again in reverse order.
    std::string t;
    std::string segment;
    t.reserve(path.size() + 1);
    const auto flush = [&] {
        t += separator;
        t += ReverseString(segment);
        segment.clear();
    };
    for (const char c : path) {
        if (c == separator)
            flush();
        else
            segment += c;
    }
    flush(); // the separator appended behind the last component
    t.erase(0, 1);
    return ReverseString(t);
}

std::string SpaceBackslashes(std::string_view s, char separator) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (const char c : s) {
        if (c == separator)
            out += ' ';
        out += c;
    }
    return out;
}

std::string TitleForPath(std::string_view path, char separator) {
    std::string title(kProgramTitle);
    if (!path.empty()) {
        title += " - ";
        title += ReversePath(path, separator);
    }
    return title;
}

std::string FileLabelForPath(std::string_view path, char separator) {
    std::string text(kFileLabelPrefix);
    text += path;
    return SpaceBackslashes(text, separator);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext, char separator) {
    const std::size_t nameStart =
        path.rfind(separator) == std::string_view::npos ? 0 : path.rfind(separator) + 1;
    const std::size_t dot = path.rfind('.');
    std::string out;
    if (dot != std::string_view::npos && dot >= nameStart)
        out = std::string(path.substr(0, dot));
    else
        out = std::string(path);
    out += ext;
    return out;
}

} // namespace morvane
