#include "io/text_codec.h"

#include <cstdint>

namespace quendal {
namespace {

// Unicode code points of the bytes 0x80..0xFF of Windows-1251.
constexpr char16_t kCp1251High[128] = {
    // 0x80
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, //
    // 0x90 (0x98 is unassigned)
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, //
    // 0xA0
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, //
    // 0xB0
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, //
    // 0xC0: А..Я
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, //
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, //
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, //
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, //
    // 0xE0: а..я
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, //
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, //
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, //
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, //
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at bytes[i], 0 when there is none. When the
// sequence is a correct start cut off by the end of the text, `truncated` is set.
size_t SequenceLength(std::string_view bytes, size_t i, bool& truncated) {
    truncated = false;
    const auto b0 = static_cast<uint8_t>(bytes[i]);
    if (b0 < 0x80)
        return 1;
    size_t length;
    uint8_t lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (b0 == 0xED)
            hi = 0x9F; // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            lo = 0x90;
        else if (b0 == 0xF4)
            hi = 0x8F; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if (i + k >= bytes.size()) {
            truncated = true;
            return 0;
        }
        const auto b = static_cast<uint8_t>(bytes[i + k]);
        if (k == 1 ? (b < lo || b > hi) : (b < 0x80 || b > 0xBF))
            return 0;
    }
    return length;
}

// Length of the longest prefix of `bytes` that is valid UTF-8, and whether what follows is
// only a correct but incomplete last sequence.
size_t ValidPrefix(std::string_view bytes, bool& truncatedTail) {
    size_t i = 0;
    truncatedTail = false;
    while (i < bytes.size()) {
        const size_t length = SequenceLength(bytes, i, truncatedTail);
        if (length == 0)
            break;
        i += length;
    }
    return i;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    bool truncated;
    return ValidPrefix(bytes, truncated) == bytes.size();
}

std::string DecodeCp1251(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{kCp1251High[b - 0x80]});
    }
    return out;
}

std::string DecodeText(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return DecodeCp1251(bytes);
}

std::string DecodeCutText(std::string_view bytes, size_t limit) {
    if (bytes.size() <= limit)
        return DecodeText(bytes);
    const std::string_view cut = bytes.substr(0, limit);
    bool truncatedTail;
    const size_t valid = ValidPrefix(cut, truncatedTail);
    if (valid == cut.size())
        return std::string(cut);
    // A split only when the uncut text holds the whole character there; a lead byte followed
    // by anything else is a Windows-1251 letter.
    if (truncatedTail && SequenceLength(bytes, valid, truncatedTail) > 0)
        return std::string(cut.substr(0, valid));
    return DecodeCp1251(cut);
}

} // namespace quendal
