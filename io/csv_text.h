#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quendal {

// One field of a CSV (or tab-separated) row: quoted, with its quotes doubled, when it holds
// the separator, a quote or a line break; as it is otherwise.
std::string CsvField(std::string_view text, char separator = ',');

// The fields joined by the separator, each as CsvField gives it; no line end.
std::string CsvRow(const std::vector<std::string>& fields, char separator = ',');

} // namespace quendal
