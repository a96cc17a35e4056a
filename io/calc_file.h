#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/calc_setup.h"

namespace quendal {

// A calculation file (*.cal): UTF-8 text in the INI style of the race files, sections of
// Key=Value lines written in one fixed order, so that two files compare well with diff:
//
//   [QuendalCalculation]   the first line, always: the format's name (and the desktop's magic)
//   Version=1
//   [Step1]..[Step4]       the race as loaded, in the race file's sections and keys, with the
//                          race file's path (RaceFile) beside its name; absent without a race
//   [Planet]               the additional parameters (with a race only)
//   [Start]                the start fields of "Динамика планеты"
//   [Templates]            the two templates
//   [Search]               the search tab's fields
//   [SearchResult]         what the last search found, when one has run
//   [DataTable], [MineralTable]  the tables as last computed: a record, not read back
//   [End]                  the last line: a file without it was cut short
//
// Templates are written as comma-separated elements: min, max:N, fab:N, mine:N (min:N for a
// minimum-terraforming element of N steps), with @C after an element whose unit cost C is not
// the one the [Planet] economy gives. The reader is strict: a key twice in a section, a number
// that is not one or lies outside what its field holds, a missing key or section, a newer
// version, binary bytes or a file above kCalcFileMaxBytes are refused with the line and key.
// Unknown keys and sections are ignored; blank lines and lines starting with ';' or '#' are
// comments. A file that is not UTF-8 is read as Windows-1251, as the race files are.

// Largest file the reader takes: the table record of the companion's longest calculation
// (99999 years, about 12 MiB) fits.
inline constexpr size_t kCalcFileMaxBytes = size_t{16} << 20;

// The first line of every calculation file.
inline constexpr const char* kCalcFileMagic = "[QuendalCalculation]";

// Why a file was refused: where (line from 1, 0 for the whole file; the key or section) and
// what, in English for the companion and in Russian for the window.
struct CalcFileError {
    int line = 0;
    std::string key;
    std::string english, russian;
    // One line: "line 12: [Start] Years: ..." (or "строка 12: ...").
    std::string Message(bool inRussian = false) const;
};

struct CalcFileResult {
    CalcSetup setup;                    // valid when there is no error
    std::optional<CalcFileError> error; // the first fault found
};

// Parses the bytes of a calculation file.
CalcFileResult ParseCalcFile(std::string_view bytes);

// The text of a calculation file for `setup`. Texts that are not UTF-8 are taken as
// Windows-1251; control characters in them (a line break in a path) are written as '?'.
std::string WriteCalcFile(const CalcSetup& setup);

// Reads and parses the file at `path`; a file that cannot be read, or is too large, is an
// error too.
CalcFileResult ReadCalcFile(const std::string& path);

} // namespace quendal
