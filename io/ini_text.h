#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "lists/translate.h"

namespace quendal {

// A strict INI text: a first line that names the format, then sections of Key=Value lines and
// a last section [End], which tells a whole file from one cut short. A key twice in a section,
// a section twice, a line that is neither a section, a key nor a comment, and text after
// [End] are refused; blank lines and lines starting with ';' or '#' are comments. Values are
// taken as written (after '='), keys and section names trimmed of blanks.

// Why a text was refused: where (line from 1, 0 for the whole file; the key or section) and
// what: a text of the catalogue (its Russian source, marked with TrNoop) and the values for
// its %1..%9, said in the reader's language (the companion's English, the window's own).
struct IniError {
    int line = 0;
    std::string key;
    std::string text;
    std::vector<std::string> args;
    // One line: "строка 12: [Start] Years: ..." (in English "line 12: ...").
    std::string Message(Language language) const;
};

// Thrown by this layer and by the readers built on it; caught where a file is parsed.
struct IniFailure {
    IniError error;
};

[[noreturn]] void FailIni(int line, std::string key, const char* text,
                          std::vector<std::string> args = {});

std::string_view TrimBlanks(std::string_view text);
std::vector<std::string_view> SplitAt(std::string_view text, char separator);
// A value as a message quotes it: at most 40 characters.
std::string QuotedValue(std::string_view value);

// The text read from `in` without the rows of its record sections (tables written for a
// reader, never read back), so that they are neither parsed nor held in memory nor counted
// against maxKept; their section lines stay, and a dropped row leaves an empty line, so that
// the lines after it keep their numbers. Fails when the kept text grows past maxKept or holds
// bytes that text never does: NUL and the control characters other than tab, line feed and a
// carriage return before a line feed.
std::string KeptText(std::istream& in, const std::vector<std::string>& records, size_t maxKept);

// A key's value as written (after '=') and its line.
struct IniValue {
    std::string text;
    int line = 0;
};

class IniSections {
public:
    // Reads `text`, whose first line must be `magic`.
    IniSections(std::string_view text, std::string_view magic);

    bool Has(const std::string& section) const { return sections_.count(section) != 0; }
    // The value of a key, or null; Value fails where the key or its section is missing.
    const IniValue* Find(const std::string& section, const std::string& key) const;
    const IniValue& Value(const std::string& section, const std::string& key) const;

private:
    std::map<std::string, std::map<std::string, IniValue>> sections_;
};

// "[Section] Key", as a message names a key.
std::string IniName(const std::string& section, const std::string& key);
// A whole number within [lo, hi], or a failure that names the key.
int64_t IniNumber(std::string_view text, int line, const std::string& name, int64_t lo, int64_t hi);

} // namespace quendal
