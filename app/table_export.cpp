#include "app/table_export.h"

#include <string>

#include "io/csv_text.h"

namespace quendal {

namespace {

const char* const kDataColumns[] = {"Год",     "% годности", "Население",
                                    "Ресурсы", "Фабрики",    "Шахты"};
const char* const kMineralColumns[] = {"Год",
                                       "Концентрация Ирониум",
                                       "Концентрация Ураниум",
                                       "Концентрация Либериум",
                                       "Добыча в год Ирониум",
                                       "Добыча в год Ураниум",
                                       "Добыча в год Либериум",
                                       "На поверхности Ирониум",
                                       "На поверхности Ураниум",
                                       "На поверхности Либериум"};

// The figures of one table line, in the order of the table's columns.
std::vector<std::string> Figures(YearTable table, const YearResult& r) {
    const auto text = [](auto value) { return std::to_string(value); };
    if (table == YearTable::Data)
        return {text(r.Year),     text(r.PlanetPrc), text(r.Men),
                text(r.Resource), text(r.Fabr),      text(r.Mine)};
    return {text(r.Year),           text(r.ConPrc[0]),      text(r.ConPrc[1]),
            text(r.ConPrc[2]),      text(r.MineralYear[0]), text(r.MineralYear[1]),
            text(r.MineralYear[2]), text(r.Mineral[0]),     text(r.Mineral[1]),
            text(r.Mineral[2])};
}

} // namespace

QString TableText(YearTable table, const std::vector<YearResult>& rows, const QList<int>& lines,
                  char separator) {
    std::vector<std::string> header;
    if (table == YearTable::Data)
        header.assign(std::begin(kDataColumns), std::end(kDataColumns));
    else
        header.assign(std::begin(kMineralColumns), std::end(kMineralColumns));
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
