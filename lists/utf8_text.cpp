#include "lists/utf8_text.h"

#include <cstdint>

namespace quendal {
namespace {

// Every byte but a continuation byte (10xxxxxx) starts a code point.
bool StartsCodePoint(char c) {
    return (static_cast<uint8_t>(c) & 0xC0) != 0x80;
}

} // namespace

size_t Utf8Length(std::string_view text) {
    size_t count = 0;
    for (char c : text)
        if (StartsCodePoint(c))
            ++count;
    return count;
}

std::string_view Utf8Prefix(std::string_view text, size_t count) {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (StartsCodePoint(text[i])) {
            if (seen == count)
                return text.substr(0, i);
            ++seen;
        }
    }
    return text;
}

} // namespace quendal
