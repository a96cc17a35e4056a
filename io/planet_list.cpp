#include "io/planet_list.h"

#include <algorithm>
#include <string_view>

#include "io/text_codec.h"
#include "model/habitability.h"
#include "model/numbers.h"

namespace quendal {
namespace {

// One read takes at most this many bytes, up to and including the line feed.
constexpr size_t kReadLimit = 399;
// Characters of the name that the entry text shows, and of the whole entry text.
constexpr size_t kNameLimit = 50;
constexpr size_t kEntryLimit = 99;
// Most minerals that a planet's surface holds, per mineral.
constexpr int32_t kMaxSurfaceMineral = 32000;

// The columns that one layout uses; 0 where the layout has no such column.
struct Layout {
    int columns;
    int thirdColumn, population, habitability, mines, factories, concentration, surface;
    const char* nameSuffix; // added to the name in the entry text
};

constexpr Layout kLayouts[] = {
    {8, 0, 0, 3, 0, 0, 4, 0, TrNoop(", необитаемая")},
    {11, 3, 0, 6, 0, 0, 7, 0, ", "},
    {20, 0, 4, 6, 9, 10, 13, 15, TrNoop(", обитаемая")},
};

const Layout* FindLayout(int columns) {
    for (const Layout& layout : kLayouts)
        if (layout.columns == columns)
            return &layout;
    return nullptr;
}

// A piece of a line: a run of characters other than tab, with its field number.
struct Piece {
    std::string_view text;
    int field;
};

// Splits a line at tabs. The first piece is field 1 whatever tabs precede it; each further
// piece is the previous number plus the tabs between them.
std::vector<Piece> SplitLine(std::string_view line) {
    std::vector<Piece> pieces;
    int field = 0;
    int tabs = 0;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == '\t') {
            ++tabs;
            ++i;
            continue;
        }
        const size_t end = std::min(line.find('\t', i), line.size());
        field = pieces.empty() ? 1 : field + tabs;
        pieces.push_back({line.substr(i, end - i), field});
        tabs = 0;
        i = end;
    }
    return pieces;
}

// Reads the number after the first occurrence of each of the prefixes "I: ", "U: ", "L: ";
// a mineral whose prefix is missing keeps its value.
void ReadMinerals(std::string_view text, int32_t values[3]) {
    static constexpr std::string_view kPrefixes[3] = {"I: ", "U: ", "L: "};
    for (int k = 0; k < 3; ++k) {
        const size_t at = text.find(kPrefixes[k]);
        if (at != std::string_view::npos)
            values[k] = LeadingInt(text.substr(at + kPrefixes[k].size()));
    }
}

// Splits the file's bytes into the lines that a text-mode read of at most 399 bytes gives:
// CRLF becomes LF, a longer line comes in pieces of 399 bytes, and a line ends at its first
// NUL byte as a C string would.
std::vector<std::string> ReadLines(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            text += bytes[i];

    std::vector<std::string> lines;
    size_t i = 0;
    while (i < text.size()) {
        const size_t feed = text.find('\n', i);
        const size_t end = std::min(
            {feed == std::string::npos ? text.size() : feed + 1, i + kReadLimit, text.size()});
        std::string_view line(text.data() + i, end - i);
        lines.emplace_back(line.substr(0, line.find('\0')));
        i = end;
    }
    return lines;
}

// Appends UTF-8 text to the entry text, which holds at most 99 characters.
void AppendToEntry(std::string& entry, std::string_view text) {
    const size_t have = Utf8Length(entry);
    if (have < kEntryLimit)
        entry += Utf8Prefix(text, kEntryLimit - have);
}

} // namespace

std::string ShownEntry(std::string_view entry, Language language) {
    for (const Layout& layout : kLayouts) {
        const std::string_view suffix = layout.nameSuffix;
        const size_t at = entry.find(suffix);
        const std::string_view shown = Translate(language, suffix);
        if (shown != suffix && at != std::string_view::npos &&
            Utf8Length(entry.substr(0, at)) <= kNameLimit)
            return std::string(entry.substr(0, at))
                .append(shown)
                .append(entry.substr(at + suffix.size()));
    }
    return std::string(entry);
}

PlanetList ParsePlanetList(std::string_view bytes, const RaceParams& race) {
    PlanetList list;
    PlanetEntry working{};

    const std::vector<std::string> lines = ReadLines(bytes);
    int columns = 0;
    for (size_t number = 1; number <= lines.size(); ++number) {
        const std::string& line = lines[number - 1];
        if (number == 1)
            continue;
        const std::vector<Piece> pieces = SplitLine(line);
        if (number == 2) {
            columns = static_cast<int>(pieces.size());
            continue;
        }
        const Layout* layout = FindLayout(columns);
        if (!layout)
            break;

        std::string entry;
        for (const Piece& piece : pieces) {
            const int field = piece.field;
            if (field == 1) {
                entry = Utf8Prefix(DecodeText(piece.text), kNameLimit);
                AppendToEntry(entry, layout->nameSuffix);
            } else if (field == layout->thirdColumn) {
                AppendToEntry(entry, DecodeText(piece.text));
            } else if (field == layout->habitability) {
                AppendToEntry(entry, ", ");
                AppendToEntry(entry, DecodeText(piece.text));
                EnvForPrc(race, LeadingInt(piece.text), working.env);
            } else if (field == layout->population) {
                working.startMen = LeadingInt(piece.text) / 100;
            } else if (field == layout->mines) {
                working.mine = LeadingInt(piece.text);
            } else if (field == layout->factories) {
                working.fabr = LeadingInt(piece.text);
            } else if (field == layout->concentration) {
                ReadMinerals(piece.text, working.conPrc);
            } else if (field == layout->surface) {
                ReadMinerals(piece.text, working.mineral);
                for (int32_t& amount : working.mineral)
                    amount = std::min(amount, kMaxSurfaceMineral);
            }
        }
        const int fieldCount = pieces.empty() ? 0 : pieces.back().field;
        if (fieldCount == layout->columns) {
            list.entries.push_back(entry);
            list.planets.push_back(working);
        }
    }
    return list;
}

} // namespace quendal
