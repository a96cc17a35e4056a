#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "io/ini_text.h"
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
//   [DataTable], [MineralTable]  the tables as last computed: a record for a reader only,
//                          which loading skips unread (it computes them again)
//   [End]                  the last line: a file without it was cut short
//
// Templates are written as comma-separated elements: min, max:N, fab:N, mine:N (min:N for a
// minimum-terraforming element of N steps), with @C after an element whose unit cost C is not
// the one the [Planet] economy gives. The reader is strict (io/ini_text.h): besides what that
// layer refuses, a number that is not one or lies outside what its field holds, a missing key
// or section, a newer version, binary bytes or more than kCalcFileMaxBytes outside the table
// record are refused with the line and key. Unknown keys and sections are ignored. A file that
// is not UTF-8 is read as Windows-1251, as the race files are. Every key, its section, its
// range and the version it came in are listed once, in calc_file.cpp's field table.

// The most the reader takes of a file besides its table record, which has no limit: the
// calculation itself is a few kilobytes.
inline constexpr size_t kCalcFileMaxBytes = size_t{16} << 20;

// The first line of every calculation file.
inline constexpr const char* kCalcFileMagic = "[QuendalCalculation]";

// Why a file was refused.
using CalcFileError = IniError;

struct CalcFileResult {
    CalcSetup setup;                    // valid when there is no error
    std::optional<CalcFileError> error; // the first fault found
};

// Parses the bytes of a calculation file.
CalcFileResult ParseCalcFile(std::string_view bytes);

// The text of a calculation file for `setup`. Texts that are not UTF-8 are taken as
// Windows-1251; control characters in them (a line break in a path) are written as '?'.
std::string WriteCalcFile(const CalcSetup& setup);

// Why ParseCalcFile would refuse WriteCalcFile(setup), checked against the reader's own field
// table, in `language`: the first value outside what its field accepts, named as the window
// names it where it has a name there and by its file key elsewhere, with the range ("П1: 0 вне
// допустимых пределов 2..9999", "[Planet] Env: 5000 вне допустимых пределов -999..999"), or
// `byKey` by its file key as the reader's own messages do ("[Planet] Env: 5000 is outside
// -999..999", the companion's), or a text too long or an element of no kind. Empty when the
// reader takes the file. Every front end checks a calculation with it before writing it or
// passing it on.
std::string SetupProblem(const CalcSetup& setup, Language language, bool byKey = false);

// Reads and parses the file at `path`, holding no more of it in memory than the reader takes;
// a file that cannot be read is an error too.
CalcFileResult ReadCalcFile(const std::string& path);

} // namespace quendal
