#include "app/table_export.h"

#include <string>

#include "io/csv_text.h"
#include "model/field_specs.h"
#include "model/output.h"

namespace quendal {

namespace {

const char* const kDataColumns[] = {"Год",     "% годности", "Население",
                                    "Ресурсы", "Фабрики",    "Шахты"};
// The figures of one table line, in the order of the table's columns.
std::vector<std::string> Figures(YearTable table, const YearResult& r) {
    std::vector<int64_t> figures = YearFigures(r, table == YearTable::Minerals);
    if (table == YearTable::Minerals)
        figures.erase(figures.begin() + 1, figures.begin() + 6); // the year, then the minerals
    std::vector<std::string> fields;
    for (const int64_t figure : figures)
        fields.push_back(std::to_string(figure));
    return fields;
}

} // namespace

QString TableText(YearTable table, const std::vector<YearResult>& rows, const QList<int>& lines,
                  char separator) {
    std::vector<std::string> header;
    if (table == YearTable::Data)
        header.assign(std::begin(kDataColumns), std::end(kDataColumns));
    else
        header = {"Год"};
    for (const char* figure : {"Концентрация ", "Добыча в год ", "На поверхности "})
        for (int i = 0; table == YearTable::Minerals && i < 3; ++i)
            header.push_back(figure + std::string(kMineralNames[i]));
    std::vector<std::vector<std::string>> fields;
    const auto addLine = [&](int line) {
        if (line >= 0 && static_cast<size_t>(line) < rows.size())
            fields.push_back(Figures(table, rows[static_cast<size_t>(line)]));
    };
    if (lines.isEmpty())
        for (size_t line = 0; line < rows.size(); ++line)
            addLine(static_cast<int>(line));
    else
        for (const int line : lines)
            addLine(line);
    return TableText(header, fields, separator);
}

QString TableText(const std::vector<std::string>& header,
                  const std::vector<std::vector<std::string>>& rows, char separator) {
    std::string text = CsvRow(header, separator) + '\n';
    for (const std::vector<std::string>& row : rows)
        text += CsvRow(row, separator) + '\n';
    return QString::fromStdString(text);
}

} // namespace quendal
