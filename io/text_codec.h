#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lists/utf8_text.h" // Utf8Length and Utf8Prefix, for the decoded texts

namespace quendal {

// Input files hold 8-bit text: names and fields are Windows-1251 unless they already are
// valid UTF-8. These helpers turn such bytes into UTF-8 for display.

// True when `bytes` is well-formed UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Decodes Windows-1251 bytes to UTF-8. The one byte that the code page leaves unassigned
// (0x98) becomes U+FFFD.
std::string DecodeCp1251(std::string_view bytes);

// UTF-8 bytes are kept as they are; anything else is read as Windows-1251.
std::string DecodeText(std::string_view bytes);

// DecodeText of `bytes` cut to `limit` bytes. When the cut splits a character of otherwise
// valid UTF-8, the broken tail is dropped instead of turning the whole text into Windows-1251
// characters; a text that fits the limit is decoded whole.
std::string DecodeCutText(std::string_view bytes, size_t limit);

} // namespace quendal
