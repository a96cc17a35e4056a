#pragma once

#include <array>

#include <QList>
#include <QPointF>
#include <QString>

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;
class QWidget;

namespace quendal {

// The chart of the planet-dynamics tab: five line series with point markers against a fixed
// left axis (habitability), a right axis from 0 (everything else) and a bottom axis (years),
// with the legend below. All chart-library code of the window lives here.
class ChartAdapter {
public:
    static constexpr int kSeriesCount = 5;
    using SeriesPoints = std::array<QList<QPointF>, kSeriesCount>;

    explicit ChartAdapter(QWidget* parent);

    // The chart with its legend.
    QWidget* widget() const;

    // Replaces the points of every series (in the chart's series order), rescales the
    // automatic axes and shows each series' last value in the legend.
    void Show(const SeriesPoints& points);
    void Clear();

    int PointCount(int series) const;
    QPointF PointAt(int series, int index) const;
    // Title of the series as created ("% среды").
    QString Title(int series) const;
    // What the legend shows for the series ("% среды: 100", or the title while it has no
    // point).
    QString LegendText(int series) const;

private:
    void RescaleAxes();

    QWidget* box_; // the chart with its legend below
    QChartView* view_;
    QChart* chart_;
    QWidget* legend_;
    std::array<QLineSeries*, kSeriesCount> series_{};
    QValueAxis* axisLeft_;
    QValueAxis* axisRight_;
    QValueAxis* axisBottom_;
};

} // namespace quendal
