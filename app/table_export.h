#pragma once

#include <string>
#include <vector>

#include <QList>
#include <QString>

#include "model/calc_model.h"

namespace quendal {

// The two yearly tables of the planet-dynamics tab.
enum class YearTable { Data, Minerals };

// A table as text for a spreadsheet: a header row of column names, then one row per chosen
// line of the table (every line when `lines` is empty), fields separated by `separator`
// (a tab for the clipboard, a comma for CSV), each row ended by a line feed. `rows` are the
// figures behind the table's lines, line i showing rows[i].
QString TableText(YearTable table, const std::vector<YearResult>& rows, const QList<int>& lines,
                  char separator);

// Any table as such text: the header row, then the rows.
QString TableText(const std::vector<std::string>& header,
                  const std::vector<std::vector<std::string>>& rows, char separator);

} // namespace quendal
