#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quendal {

// A strict INI text: a first line that names the format, then sections of Key=Value lines and
// a last section [End], which tells a whole file from one cut short. A key twice in a section,
// a section twice, a line that is neither a section, a key nor a comment, and text after
// [End] are refused; blank lines and lines starting with ';' or '#' are comments. Values are
// taken as written (after '='), keys and section names trimmed of blanks.

// Why a text was refused: where (line from 1, 0 for the whole file; the key or section) and
// what, in English for the companion and in Russian for the window.
struct IniError {
    int line = 0;
    std::string key;
    std::string english, russian;
    // One line: "line 12: [Start] Years: ..." (or "строка 12: ...").
    std::string Message(bool inRussian = false) const;
};

// Thrown by this layer and by the readers built on it; caught where a file is parsed.
struct IniFailure {
    IniError error;
};

[[noreturn]] void FailIni(int line, std::string key, std::string english, std::string russian);

std::string_view TrimBlanks(std::string_view text);
std::vector<std::string_view> SplitAt(std::string_view text, char separator);
// A value as a message quotes it: at most 40 characters.
std::string QuotedValue(std::string_view value);

// Passes a text on without the lines of its record sections (tables written for a reader,
// never read back), so that they are neither parsed nor held in memory nor counted against
// the size limit; their section lines stay. Fed in pieces of any size.
class RecordFilter {
public:
    RecordFilter(std::vector<std::string> recordSections, size_t maxKept);
    // Fails when the kept text grows past maxKept.
    void Feed(std::string_view piece);
    // The kept text; call once, after the last piece.
    std::string Finish();

private:
    void EndLine();

    std::vector<std::string> records_;
    size_t maxKept_;
    std::string kept_;
    std::string line_;      // the current line, while it may be kept or is a section line
    bool inRecord_ = false; // the current section is a record
    bool dropping_ = false; // the current line is a record's row
};

class IniSections {
public:
    // Reads `text`, whose first line must be `magic`.
    IniSections(std::string_view text, std::string_view magic);

    bool Has(const std::string& section) const { return sections_.count(section) != 0; }
    bool Has(const std::string& section, const std::string& key) const;
    // The value of a key that must be there, and its line.
    const std::string& Text(const std::string& section, const std::string& key) const;
    int Line(const std::string& section, const std::string& key) const;
    // `count` whole numbers separated by commas, each within [lo, hi].
    std::vector<int64_t> Numbers(const std::string& section, const std::string& key, size_t count,
                                 int64_t lo, int64_t hi) const;

    static std::string Name(const std::string& section, const std::string& key) {
        return "[" + section + "] " + key;
    }
    static int64_t NumberOf(std::string_view text, int line, const std::string& name, int64_t lo,
                            int64_t hi);

private:
    struct Entry {
        std::string value;
        int line = 0;
    };
    const Entry& Get(const std::string& section, const std::string& key) const;
    void Read(std::string_view text, std::string_view magic);

    std::map<std::string, std::map<std::string, Entry>> sections_;
};

// Refuses bytes that text never holds: NUL and the control characters other than tab, line
// feed and a carriage return before a line feed.
void CheckTextBytes(std::string_view bytes);

} // namespace quendal
