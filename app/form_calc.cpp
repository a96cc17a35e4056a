// "Расчет": runs the displayed calculation and fills the data table, the minerals table and
// the chart.
#include <array>

#include <QPushButton>

#include "app/chart_adapter.h"
#include "app/form_main.h"
#include "app/form_style.h"
#include "app/number_spin_field.h"
#include "model/output.h"

namespace quendal {

StartFields TFormMain::ShownStart() const {
    return {editStartPlanetPrc->value(), editStartPlanetMen->value(), editMenYearPrc->value(),
            editLightYears->value()};
}

void TFormMain::bnCalculateClick() {
    chart_->Clear();
    const CalcView& view = controller_.Calculate(ShownStart());
    ChartAdapter::SeriesPoints points;
    for (const std::array<double, 6>& p : view.chartPoints)
        for (int i = 0; i < ChartAdapter::kSeriesCount; ++i)
            if (view.plotted[static_cast<size_t>(i)])
                points[i] << QPointF(p[0], p[static_cast<size_t>(i) + 1]);
    ShowLines(lbDataSet, view.dataLines);
    ShowLines(lbMineral, view.mineralLines);
    chart_->Show(points);
    bnSaveCalcFile->setEnabled(controller_.CanSave());
}

} // namespace quendal
