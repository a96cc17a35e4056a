#include "io/profile.h"

#include <algorithm>

namespace quendal {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string MapKey(std::string_view section, std::string_view key) {
    return Lower(section) + '\n' + Lower(key);
}

// Removes one pair of matching quotes (single or double) around a value.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

ProfileFile ProfileFile::Parse(std::string_view text) {
    ProfileFile profile;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    // The whole text ends where a C string would: at the first NUL byte.
    text = text.substr(0, text.find('\0'));

    std::string section;
    bool inSection = false;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            line.remove_prefix(1);
            section = std::string(Trim(line.substr(0, line.find(']'))));
            inSection = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Unquote(Trim(line.substr(equals + 1)));
        profile.values_.emplace(MapKey(section, key), std::string(value));
    }
    return profile;
}

std::optional<std::string_view> ProfileFile::Find(std::string_view section,
                                                  std::string_view key) const {
    const auto found = values_.find(MapKey(Trim(section), Trim(key)));
    if (found == values_.end())
        return std::nullopt;
    return std::string_view(found->second);
}

std::string ProfileFile::Read(std::string_view section, std::string_view key,
                              std::string_view fallback, size_t size) const {
    if (size == 0)
        return {};
    const std::string_view value = Find(section, key).value_or(fallback);
    return std::string(value.substr(0, size - 1));
}

} // namespace quendal
