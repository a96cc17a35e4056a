#include "model/output.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace quendal {

namespace {

// "%d/%d/%d" of three mineral figures, in the order Ironium, Uranium, Liberium.
template <typename T> std::string Triple(const T (&values)[3]) {
    char text[80];
    std::snprintf(text, sizeof text, "%lld/%lld/%lld", static_cast<long long>(values[0]),
                  static_cast<long long>(values[1]), static_cast<long long>(values[2]));
    return text;
}

} // namespace

std::string DataTableLine(const YearResult& row) {
    char text[128];
    // long long: long has 32 bits on some targets (WebAssembly), where colonists have more.
    std::snprintf(text, sizeof text, "%4d |%4d | %7lld | %5lld | %5lld |%5lld", row.Year,
                  row.PlanetPrc, static_cast<long long>(row.Men),
                  static_cast<long long>(row.Resource), static_cast<long long>(row.Fabr),
                  static_cast<long long>(row.Mine));
    return text;
}

std::string MineralLine(const YearResult& row) {
    char text[256];
    std::snprintf(text, sizeof text, "%3d %-11s %-14s %s", row.Year, Triple(row.ConPrc).c_str(),
                  Triple(row.MineralYear).c_str(), Triple(row.Mineral).c_str());
    return text;
}

std::vector<int64_t> YearFigures(const YearResult& r, bool minerals) {
    std::vector<int64_t> figures = {r.Year, r.PlanetPrc, r.Men, r.Resource, r.Fabr, r.Mine};
    if (minerals) {
        figures.insert(figures.end(), std::begin(r.ConPrc), std::end(r.ConPrc));
        figures.insert(figures.end(), std::begin(r.MineralYear), std::end(r.MineralYear));
        figures.insert(figures.end(), std::begin(r.Mineral), std::end(r.Mineral));
    }
    return figures;
}

bool IsPlottedYear(int32_t year, int32_t lastYear) {
    if (year == 0 || year == lastYear)
        return true;
    const int32_t every = lastYear / 40 + 1;
    return every >= 1 && year % every == 0;
}

CalcView CalculateView(CalcModel& model, StartConditions start) {
    start.Years = std::min(start.Years, kMaxShownYears);
    const bool race = model.RaceLoaded;
    CalcView view;
    const DisplayFlags flags = RunCalculation(model, start, [&](const YearResult& row) {
        view.rows.push_back(row);
        view.dataLines.push_back(DataTableLine(row));
        if (race)
            view.mineralLines.push_back(MineralLine(row));
        if (IsPlottedYear(row.Year, start.Years))
            view.chartPoints.push_back(
                {double(row.Year), double(row.PlanetPrc), static_cast<double>(row.Men) * 0.001,
                 static_cast<double>(row.Resource), double(row.Fabr), double(row.Mine)});
    });
    view.plotted = {true, true, race, race && flags.ShowFactories, race && flags.ShowMines};
    return view;
}

} // namespace quendal
