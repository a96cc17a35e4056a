#include "io/csv_text.h"

namespace quendal {

std::string CsvField(std::string_view text, char separator) {
    const char special[] = {separator, '"', '\n', '\r', '\0'};
    if (text.find_first_of(special) == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string CsvRow(const std::vector<std::string>& fields, char separator) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += separator;
        row += CsvField(fields[i], separator);
    }
    return row;
}

} // namespace quendal
