#include "io/ini_text.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <utility>

#include "io/text_codec.h"
#include "model/numbers.h"

namespace quendal {

std::string IniError::Message(Language language) const {
    std::string where;
    if (line > 0)
        where = Tr(language, "строка %1: ", {std::to_string(line)});
    if (!key.empty())
        where += key + ": ";
    return where + Substitute(Translate(language, text), args);
}

void FailIni(int line, std::string key, const char* text, std::vector<std::string> args) {
    throw IniFailure{{line, std::move(key), text, std::move(args)}};
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

std::string QuotedValue(std::string_view value) {
    return std::string(Utf8Prefix(value, 40)) + (Utf8Length(value) > 40 ? "..." : "");
}

namespace {

// The name of a section line ("[Name]", blanks and a line end's '\r' around it), or nothing.
std::optional<std::string_view> SectionOf(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    line = TrimBlanks(line);
    if (line.size() > 2 && line.front() == '[' && line.back() == ']')
        return line.substr(1, line.size() - 2);
    return std::nullopt;
}

} // namespace

std::string KeptText(std::istream& in, const std::vector<std::string>& records, size_t maxKept) {
    std::string kept, line;
    int number = 1; // of the line being read
    // The kept text with `more` bytes after the current line stays within maxKept.
    const auto fits = [&](size_t more) {
        if (kept.size() + line.size() + more > maxKept)
            FailIni(0, "", TrNoop("файл больше %1 МиБ"), {std::to_string(maxKept >> 20)});
    };
    // Text never holds NUL nor the control characters other than tab and a line end.
    const auto keep = [&](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool lineEnd = c == '\r' && (in.peek() == '\n' || in.peek() == EOF);
        if ((u < 0x20 && c != '\t' && !lineEnd) || u == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", u);
            FailIni(number, "", TrNoop("двоичные данные (байт %1): не текстовый файл"), {code});
        }
        line += c;
        fits(0);
    };
    bool inRecord = false;
    while (in.peek() != std::char_traits<char>::eof()) {
        line.clear();
        while (in.peek() == ' ' || in.peek() == '\t')
            keep(static_cast<char>(in.get()));
        // A record's row is known by its first character: only a section line is kept.
        if (inRecord && in.peek() != '[') {
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            kept += in.eof() ? "" : "\n";
            ++number;
            continue;
        }
        char c = 0;
        while (in.get(c) && c != '\n')
            keep(c);
        if (const std::optional<std::string_view> section = SectionOf(line))
            inRecord = std::find(records.begin(), records.end(), *section) != records.end();
        else if (inRecord)
            line.clear(); // a row that began with '['
        if (c == '\n')
            fits(1); // the line feed too
        kept += line + (c == '\n' ? "\n" : "");
        number += c == '\n';
    }
    return kept;
}

const IniValue* IniSections::Find(const std::string& section, const std::string& key) const {
    const auto found = sections_.find(section);
    if (found == sections_.end())
        return nullptr;
    const auto entry = found->second.find(key);
    return entry == found->second.end() ? nullptr : &entry->second;
}

const IniValue& IniSections::Value(const std::string& section, const std::string& key) const {
    if (!Has(section))
        FailIni(0, "[" + section + "]", TrNoop("нет раздела"));
    const IniValue* value = Find(section, key);
    if (!value)
        FailIni(0, IniName(section, key), TrNoop("нет ключа"));
    return *value;
}

std::string IniName(const std::string& section, const std::string& key) {
    return "[" + section + "] " + key;
}

int64_t IniNumber(std::string_view text, int line, const std::string& name, int64_t lo,
                  int64_t hi) {
    const std::optional<int64_t> value = StrictInt(text);
    if (!value)
        FailIni(line, name, TrNoop("«%1» — не целое число"), {QuotedValue(text)});
    if (*value < lo || *value > hi)
        FailIni(line, name, TrNoop("%1 вне %2..%3"),
                {std::to_string(*value), std::to_string(lo), std::to_string(hi)});
    return *value;
}

IniSections::IniSections(std::string_view text, std::string_view magic) {
    std::vector<std::string_view> lines = SplitAt(text, '\n');
    for (std::string_view& raw : lines)
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
    const std::string format(magic);
    if (TrimBlanks(lines.front()) != magic)
        FailIni(1, "", TrNoop("не файл расчета: первая строка не %1"), {format});
    // A file cut short says so, rather than what its broken last line is.
    if (std::none_of(lines.begin(), lines.end(),
                     [](std::string_view raw) { return TrimBlanks(raw) == "[End]"; }))
        FailIni(static_cast<int>(lines.size()), "",
                TrNoop("файл обрывается до [End]: он не дописан"));
    int line = 0;
    std::string section;
    bool ended = false;
    for (std::string_view raw : lines) {
        ++line;
        const std::string_view trimmed = TrimBlanks(raw);
        if (ended) {
            if (!trimmed.empty())
                FailIni(line, "", TrNoop("текст после [End]"));
            continue;
        }
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
            continue;
        if (const std::optional<std::string_view> name = SectionOf(trimmed)) {
            section = std::string(*name);
            if (!sections_.emplace(section, std::map<std::string, IniValue>()).second)
                FailIni(line, "[" + section + "]", TrNoop("раздел указан дважды"));
            ended = section == "End";
            continue;
        }
        const size_t equals = raw.find('=');
        const std::string key(
            TrimBlanks(raw.substr(0, equals == std::string_view::npos ? 0 : equals)));
        if (equals == std::string_view::npos || key.empty())
            FailIni(line, "", TrNoop("«%1» — не раздел, не ключ и не комментарий"),
                    {QuotedValue(trimmed)});
        const auto [at, added] =
            sections_[section].emplace(key, IniValue{std::string(raw.substr(equals + 1)), line});
        if (!added)
            FailIni(line, IniName(section, key), TrNoop("ключ указан дважды (впервые в строке %1)"),
                    {std::to_string(at->second.line)});
    }
}

} // namespace quendal
