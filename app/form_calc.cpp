// "Расчет": runs the displayed calculation and fills the data table, the minerals table and
// the chart.
#include <algorithm>
#include <utility>
#include <vector>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>

#include "app/chart_adapter.h"
#include "app/form_main.h"
#include "app/number_spin_field.h"
#include "model/output.h"
#include "model/simulation.h"

namespace quendal {

void TFormMain::bnCalculateClick() {
    StartConditions start;
    start.StartMen = editStartPlanetMen->value();
    start.StartPrc = editStartPlanetPrc->value();
    start.MenYearPrc = editMenYearPrc->value();
    // A typed number of years is not limited by the spin; keep it to what the table shows.
    // A negative one gives no rows.
    start.Years = std::min(editLightYears->value(), kMaxYears);

    chart_->Clear();
    lbDataSet->clear();
    lbMineral->clear();

    const bool raceLoaded = model_.RaceLoaded;
    QStringList dataLines;
    QStringList mineralLines;
    std::vector<YearResult> rows;
    ChartAdapter::SeriesPoints points;
    const DisplayFlags flags = RunCalculation(model_, start, [&](const YearResult& row) {
        if (raceLoaded)
            mineralLines << QString::fromStdString(MineralLine(row));
        dataLines << QString::fromStdString(DataTableLine(row));
        rows.push_back(row);
        if (IsPlottedYear(row.Year, start.Years)) {
            const double year = row.Year;
            points[0] << QPointF(year, row.PlanetPrc);
            points[1] << QPointF(year, static_cast<double>(row.Men) * 0.001);
            points[2] << QPointF(year, static_cast<double>(row.Resource));
            points[3] << QPointF(year, row.Fabr);
            points[4] << QPointF(year, row.Mine);
        }
    });
    // Resources, factories and mines are plotted only with a race, factories and mines only
    // when the calculation can have some.
    if (!raceLoaded)
        points[2].clear();
    if (!raceLoaded || !flags.ShowFactories)
        points[3].clear();
    if (!raceLoaded || !flags.ShowMines)
        points[4].clear();

    tableRows_ = std::move(rows);
    lbDataSet->addItems(dataLines);
    lbMineral->addItems(mineralLines);
    chart_->Show(points);
    bnSaveCalcFile->setEnabled(true); // there is a calculation to save
}

} // namespace quendal
