// "Расчет": runs the displayed calculation and fills the data table, the minerals table and
// the chart.
#include <array>
#include <utility>

#include <QPushButton>

#include "app/chart_adapter.h"
#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "model/output.h"
#include "model/simulation.h"

namespace quendal {

void TFormMain::bnCalculateClick() {
    StartConditions start;
    start.StartMen = editStartPlanetMen->value();
    start.StartPrc = editStartPlanetPrc->value();
    start.MenYearPrc = editMenYearPrc->value();
    start.Years = editLightYears->value();

    chart_->Clear();
    CalcView view = CalculateView(model_, start);
    ChartAdapter::SeriesPoints points;
    for (const std::array<double, 6>& p : view.chartPoints)
        for (int i = 0; i < ChartAdapter::kSeriesCount; ++i)
            if (view.plotted[static_cast<size_t>(i)])
                points[i] << QPointF(p[0], p[static_cast<size_t>(i) + 1]);
    tableRows_ = std::move(view.rows);
    ShowLines(lbDataSet, view.dataLines);
    ShowLines(lbMineral, view.mineralLines);
    chart_->Show(points);
    bnSaveCalcFile->setEnabled(true); // there is a calculation to save
}

} // namespace quendal
