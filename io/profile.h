#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quendal {

// An INI-style profile file read once and looked up by section and key, as the system's
// profile-string reader sees it: names compared without regard to case, blanks around names
// and values trimmed, one pair of matching quotes around a value removed, lines starting
// with ';' or '#' and lines without '=' ignored, CRLF and a UTF-8 byte order mark accepted.
// A section that occurs twice adds its keys to the first; where a key occurs twice in a
// section, the first occurrence wins. The text ends at its first NUL byte.
class ProfileFile {
public:
    // Parses the text of a profile file.
    static ProfileFile Parse(std::string_view text);

    // The value text of the key, or nothing when the section or the key is missing.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // The value text of the key, or `fallback` when it is missing; either is cut to
    // size - 1 bytes, as a buffer of `size` bytes would hold it.
    std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                     size_t size) const;

private:
    // Lower-cased "section\nkey" to the value text.
    std::map<std::string, std::string, std::less<>> values_;
};

} // namespace quendal
