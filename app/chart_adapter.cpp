#include "app/chart_adapter.h"

#include <algorithm>
#include <cmath>

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QValueAxis>

#include "app/form_style.h"
#include "app/window_language.h"
#include "model/field_specs.h"

namespace quendal {

namespace {

enum class Marker { Square, Diamond, Circle, Triangle, TriangleDown };

struct SeriesStyle {
    const char* name; // object name of the series
    QColor line;
    QColor outline; // marker outline
    bool leftAxis;
    Marker marker;
    int markerSize; // pixels
};

using colour::kAqua;
using colour::kBlue;
using colour::kGreen;
using colour::kMaroon;
using colour::kRed;
using colour::kYellow;

// In the order in which the series belong to the chart.
const SeriesStyle kStyles[ChartAdapter::kSeriesCount] = {
    {"Series2", kGreen, kGreen, true, Marker::Square, 5},
    {"Series1", kYellow, kYellow, false, Marker::Diamond, 7},
    {"Series3", kRed, kRed, false, Marker::Circle, 7},
    {"Series4", kAqua, kBlue, false, Marker::Triangle, 7},
    {"Series5", kBlue, kBlue, false, Marker::TriangleDown, 7},
};

// A marker picture; the series draws it scaled to its marker size.
QImage MarkerImage(Marker marker, const QColor& fill, const QColor& outline) {
    constexpr int kSide = 16;
    QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(outline, 2));
    painter.setBrush(fill);
    const QRectF box(1, 1, kSide - 2, kSide - 2);
    QPainterPath path;
    switch (marker) {
    case Marker::Square:
        path.addRect(box);
        break;
    case Marker::Circle:
        path.addEllipse(box);
        break;
    case Marker::Diamond:
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.right(), box.center().y());
        path.lineTo(box.center().x(), box.bottom());
        path.lineTo(box.left(), box.center().y());
        path.closeSubpath();
        break;
    case Marker::Triangle:
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.right(), box.bottom());
        path.lineTo(box.left(), box.bottom());
        path.closeSubpath();
        break;
    case Marker::TriangleDown:
        path.moveTo(box.left(), box.top());
        path.lineTo(box.right(), box.top());
        path.lineTo(box.center().x(), box.bottom());
        path.closeSubpath();
        break;
    }
    painter.drawPath(path);
    return image;
}

QValueAxis* MakeAxis(const QColor& colour, const char* labelFormat, const QFont& font) {
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QString::fromLatin1(labelFormat));
    axis->setLabelsColor(colour);
    axis->setLinePenColor(colour);
    axis->setLabelsFont(font);
    // Short labels are cut to "..." in a small chart otherwise.
    axis->setTruncateLabels(false);
    return axis;
}

// The smallest round step (1, 2 or 5 times a power of ten) of at least `raw`.
double RoundStep(double raw) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= raw * (1 - 1e-9))
            return m * magnitude;
    return 10 * magnitude;
}

// A round whole number of years between bottom-axis labels, so that about six labels show.
double YearStep(double span) {
    return RoundStep(std::max(span / 6, 1.0));
}

// The value as the legend shows it: whole numbers without a fraction, others with up to
// three decimals (thousands of colonists).
QString LegendValue(double value) {
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

// The legend below the chart: each series' marker and name, flowing into as many rows as
// the width needs, so that no entry is cut.
class SeriesLegend : public QWidget {
public:
    SeriesLegend(const std::array<QLineSeries*, ChartAdapter::kSeriesCount>& series,
                 QWidget* parent)
        : QWidget(parent), series_(series) {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
        for (int i = 0; i < ChartAdapter::kSeriesCount; ++i)
            markers_[i] = MarkerImage(kStyles[i].marker, kStyles[i].line, kStyles[i].outline);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return Layout(width, nullptr); }
    QSize sizeHint() const override { return {200, heightForWidth(200)}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        Layout(width(), &painter);
    }

private:
    static constexpr int kMarker = 8;
    static constexpr int kGap = 10;

    // Places the entries row by row within `width`; draws them when a painter is given.
    // Returns the height used.
    int Layout(int width, QPainter* painter) const {
        const QFontMetrics metrics(font());
        const int rowHeight = std::max(metrics.height(), kMarker) + 1;
        int x = 2, y = 1;
        for (int i = 0; i < ChartAdapter::kSeriesCount; ++i) {
            const QString text = series_[i]->name();
            const int entry = kMarker + 3 + metrics.horizontalAdvance(text);
            if (x > 2 && x + entry > width) {
                x = 2;
                y += rowHeight;
            }
            if (painter) {
                painter->drawImage(QRect(x, y + (rowHeight - kMarker) / 2, kMarker, kMarker),
                                   markers_[i]);
                painter->setPen(palette().color(QPalette::WindowText));
                painter->drawText(QRect(x + kMarker + 3, y, entry, rowHeight),
                                  Qt::AlignLeft | Qt::AlignVCenter, text);
            }
            x += entry + kGap;
        }
        return y + rowHeight + 1;
    }

    std::array<QLineSeries*, ChartAdapter::kSeriesCount> series_;
    std::array<QImage, ChartAdapter::kSeriesCount> markers_;
};

} // namespace

ChartAdapter::ChartAdapter(QWidget* parent)
    : box_(new QWidget(parent)), view_(new QChartView(box_)), chart_(new QChart), legend_(nullptr),
      axisLeft_(nullptr), axisRight_(nullptr), axisBottom_(nullptr) {
    view_->setObjectName(QStringLiteral("Chart1"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setFocusPolicy(Qt::NoFocus);
    view_->setChart(chart_); // the view owns the chart

    QFont small = parent ? parent->font() : QFont();
    small.setPointSize(7);
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setBackgroundBrush(box_->palette().color(QPalette::Window));
    chart_->setPlotAreaBackgroundBrush(Qt::white);
    chart_->setPlotAreaBackgroundVisible(true);
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(2, 2, 2, 0));
    chart_->layout()->setContentsMargins(0, 0, 0, 0);
    chart_->legend()->hide(); // SeriesLegend shows it without cutting entries

    // Whole numbers with thousands separators on the left and bottom axes; on the right at
    // most one decimal and no separators, since its ticks are multiples of at least 0.1.
    axisLeft_ = MakeAxis(kGreen, "%'d", small);
    axisLeft_->setRange(-75, 105);
    axisLeft_->setTickType(QValueAxis::TicksDynamic);
    axisLeft_->setTickAnchor(0);
    axisLeft_->setTickInterval(25);
    axisRight_ = MakeAxis(Qt::black, "%.15g", small);
    axisRight_->setGridLineColor(QColor(255, 255, 0));
    axisBottom_ = MakeAxis(kMaroon, "%'d", small);
    axisBottom_->setTickType(QValueAxis::TicksDynamic);
    axisBottom_->setTickAnchor(0);
    chart_->addAxis(axisLeft_, Qt::AlignLeft);
    chart_->addAxis(axisRight_, Qt::AlignRight);
    chart_->addAxis(axisBottom_, Qt::AlignBottom);

    for (int i = 0; i < kSeriesCount; ++i) {
        const SeriesStyle& style = kStyles[i];
        auto* series = new QLineSeries;
        series->setObjectName(QString::fromLatin1(style.name));
        series->setName(CoreText(kChartSeriesCaptions[i]));
        series->setPen(QPen(style.line, 1.5));
        series->setMarkerSize(style.markerSize);
        series->setLightMarker(MarkerImage(style.marker, style.line, style.outline));
        chart_->addSeries(series);
        series->attachAxis(axisBottom_);
        series->attachAxis(style.leftAxis ? axisLeft_ : axisRight_);
        series_[i] = series;
    }

    RescaleAxes();

    legend_ = new SeriesLegend(series_, box_);
    legend_->setObjectName(QStringLiteral("Chart1Legend"));
    legend_->setFont(small);
    auto* layout = new QVBoxLayout(box_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(legend_);
}

QWidget* ChartAdapter::widget() const {
    return box_;
}

void ChartAdapter::Show(const SeriesPoints& points) {
    for (int i = 0; i < kSeriesCount; ++i) {
        series_[i]->replace(points[i]);
        const QString title = CoreText(kChartSeriesCaptions[i]);
        series_[i]->setName(points[i].isEmpty()
                                ? title
                                : title + QStringLiteral(": ") + LegendValue(points[i].last().y()));
    }
    RescaleAxes();
    legend_->updateGeometry();
    legend_->update();
}

void ChartAdapter::Clear() {
    Show(SeriesPoints{});
}

void ChartAdapter::RescaleAxes() {
    double minX = 0, maxX = 0, maxRight = 0;
    bool any = false;
    for (int i = 0; i < kSeriesCount; ++i) {
        for (const QPointF& p : series_[i]->points()) {
            minX = any ? std::min(minX, p.x()) : p.x();
            maxX = any ? std::max(maxX, p.x()) : p.x();
            any = true;
            if (!kStyles[i].leftAxis)
                maxRight = std::max(maxRight, p.y());
        }
    }
    if (!any)
        maxX = 10; // an empty chart still shows a scale of years
    if (maxX <= minX)
        maxX = minX + 1;
    // Whole years at round intervals, from the first year to the last.
    axisBottom_->setTickInterval(YearStep(maxX - minX));
    axisBottom_->setRange(minX, maxX);
    // About five round intervals from 0, none below 0.1.
    const double top = maxRight > 0 ? maxRight : 1;
    const double step = std::max(RoundStep(top / 5), 0.1);
    const int intervals = static_cast<int>(std::ceil(top / step - 1e-9));
    axisRight_->setRange(0, intervals * step);
    axisRight_->setTickCount(intervals + 1);
}

int ChartAdapter::PointCount(int series) const {
    return static_cast<int>(series_[series]->count());
}

QPointF ChartAdapter::PointAt(int series, int index) const {
    return series_[series]->at(index);
}

QString ChartAdapter::Title(int series) const {
    return CoreText(kChartSeriesCaptions[series]);
}

QString ChartAdapter::LegendText(int series) const {
    return series_[series]->name();
}

} // namespace quendal
