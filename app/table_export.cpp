#include "app/table_export.h"

#include <string>

#include <QCoreApplication>

#include "app/window_language.h"
#include "io/csv_text.h"
#include "model/field_specs.h"
#include "model/output.h"

namespace quendal {

namespace {

// The columns' captions, in the export's context of the catalogue.
const char* const kDataColumns[] = {QT_TRANSLATE_NOOP("quendal::FormExport", "Год"),
                                    QT_TRANSLATE_NOOP("quendal::FormExport", "% годности"),
                                    QT_TRANSLATE_NOOP("quendal::FormExport", "Население"),
                                    QT_TRANSLATE_NOOP("quendal::FormExport", "Ресурсы"),
                                    QT_TRANSLATE_NOOP("quendal::FormExport", "Фабрики"),
                                    QT_TRANSLATE_NOOP("quendal::FormExport", "Шахты")};
const char* const kMineralColumns[] = {
    QT_TRANSLATE_NOOP("quendal::FormExport", "Концентрация %1"),
    QT_TRANSLATE_NOOP("quendal::FormExport", "Добыча в год %1"),
    QT_TRANSLATE_NOOP("quendal::FormExport", "На поверхности %1")};

std::string Caption(const char* text) {
    return QCoreApplication::translate("quendal::FormExport", text).toStdString();
}

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
    for (const char* column : kDataColumns)
        if (table == YearTable::Data || header.empty())
            header.push_back(Caption(column));
    for (const char* figure : kMineralColumns)
        for (int i = 0; table == YearTable::Minerals && i < 3; ++i)
            header.push_back(QCoreApplication::translate("quendal::FormExport", figure)
                                 .arg(CoreText(kMineralNames[i]))
                                 .toStdString());
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
