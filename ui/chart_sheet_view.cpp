#include "ui/chart_sheet_view.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPen>
#include <QPolarChart>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "spreadsheet/model/chart_sheet.h"
#include "ui/chart_data.h"
#include "ui/series_palette.h"

namespace tabulix::ui {

using spreadsheet::ChartKind;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool isFlatCounterpart(ChartKind kind) { return spreadsheet::isThreeD(kind) || kind == ChartKind::Surface; }

QValueAxis* valueAxis(const spreadsheet::ChartModel& model, const ChartData& data) {
    auto* axis = new QValueAxis;
    double lo = 0.0, hi = 0.0;
    for (const auto& s : data.series)
        for (double v : s.values) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    if (hi == lo) hi = lo + 1.0;
    axis->setRange(lo, hi);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%.10g"));
    if (!model.valueTitle.empty()) axis->setTitleText(qs(model.valueTitle));
    return axis;
}

QStringList categoryList(const ChartData& data) {
    QStringList list;
    for (const auto& c : data.categories) list << qs(c);
    return list;
}

QBarCategoryAxis* categoryAxis(const spreadsheet::ChartModel& model, const ChartData& data) {
    auto* axis = new QBarCategoryAxis;
    axis->append(categoryList(data));
    if (!model.categoryTitle.empty()) axis->setTitleText(qs(model.categoryTitle));
    return axis;
}

void addAxes(QChart& chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

QChart* barChart(const spreadsheet::ChartModel& model, const ChartData& data, bool horizontal) {
    auto* chart = new QChart;
    QAbstractBarSeries* series = horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries*>(new QBarSeries);
    for (const auto& s : data.series) {
        auto* set = new QBarSet(qs(s.name));
        set->setColor(seriesColour(static_cast<int>(series->count())));
        set->setBorderColor(set->color().darker(130));
        for (double v : s.values) *set << v;
        series->append(set);
    }
    chart->addSeries(series);
    if (horizontal) {
        auto* values = valueAxis(model, data);
        auto* categories = categoryAxis(model, data);
        chart->addAxis(values, Qt::AlignBottom);
        chart->addAxis(categories, Qt::AlignLeft);
        series->attachAxis(values);
        series->attachAxis(categories);
    } else {
        addAxes(*chart, series, categoryAxis(model, data), valueAxis(model, data));
    }
    return chart;
}

// Lines, areas and the flat view of a surface: one line per series over the categories.
QChart* lineChart(const spreadsheet::ChartModel& model, const ChartData& data, bool areas) {
    auto* chart = new QChart;
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const QStringList categories = categoryList(data);
    for (int i = 0; i < categories.size(); ++i) x->append(categories[i], i);
    x->setRange(0, std::max<qsizetype>(1, categories.size() - 1));
    if (!model.categoryTitle.empty()) x->setTitleText(qs(model.categoryTitle));
    auto* y = valueAxis(model, data);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (const auto& s : data.series) {
        auto* line = new QLineSeries;
        line->setName(qs(s.name));
        const QColor colour = seriesColour(static_cast<int>(chart->series().size()));
        line->setPen(QPen(colour, 2));
        for (std::size_t i = 0; i < s.values.size(); ++i) line->append(static_cast<double>(i), s.values[i]);
        QAbstractSeries* shown = line;
        if (areas) {
            auto* area = new QAreaSeries(line);
            area->setName(qs(s.name));
            area->setColor(colour);
            area->setBorderColor(colour.darker(130));
            area->setOpacity(0.75);
            shown = area;
        }
        chart->addSeries(shown);
        shown->attachAxis(x);
        shown->attachAxis(y);
    }
    return chart;
}

QChart* pieChart(const ChartData& data) {
    auto* chart = new QChart;
    auto* series = new QPieSeries;
    const auto& values = data.series.front().values;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] > 0) {
            QPieSlice* slice = series->append(qs(i < data.categories.size() ? data.categories[i] : ""), values[i]);
            slice->setColor(seriesColour(static_cast<int>(series->count()) - 1));
            slice->setBorderColor(Qt::white);
        }
    chart->addSeries(series);
    return chart;
}

QChart* radarChart(const spreadsheet::ChartModel& model, const ChartData& data) {
    auto* chart = new QPolarChart;
    const QStringList categories = categoryList(data);
    auto* angles = new QCategoryAxis;
    const int n = std::max<int>(1, static_cast<int>(categories.size()));
    for (int i = 0; i < categories.size(); ++i) angles->append(categories[i], (i + 1) * 360.0 / n);
    angles->setRange(0, 360);
    angles->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    auto* radius = valueAxis(model, data);
    chart->addAxis(angles, QPolarChart::PolarOrientationAngular);
    chart->addAxis(radius, QPolarChart::PolarOrientationRadial);
    for (const auto& s : data.series) {
        auto* line = new QLineSeries;
        line->setName(qs(s.name));
        line->setPen(QPen(seriesColour(static_cast<int>(chart->series().size())), 2));
        for (std::size_t i = 0; i < s.values.size(); ++i) line->append(i * 360.0 / n, s.values[i]);
        if (!s.values.empty()) line->append(360.0, s.values.front());  // closes the ring
        chart->addSeries(line);
        line->attachAxis(angles);
        line->attachAxis(radius);
    }
    return chart;
}

QChart* buildChart(const spreadsheet::ChartModel& model, const ChartData& data) {
    switch (model.kind) {
        case ChartKind::Column:
        case ChartKind::Column3D: return barChart(model, data, false);
        case ChartKind::Bar:
        case ChartKind::Bar3D: return barChart(model, data, true);
        case ChartKind::Line:
        case ChartKind::Line3D:
        case ChartKind::Surface:
        case ChartKind::Surface3D: return lineChart(model, data, false);
        case ChartKind::Area:
        case ChartKind::Area3D: return lineChart(model, data, true);
        case ChartKind::Pie:
        case ChartKind::Pie3D: return pieChart(data);
        case ChartKind::Radar: return radarChart(model, data);
    }
    return new QChart;
}

}  // namespace

ChartSheetView::ChartSheetView(std::shared_ptr<spreadsheet::ChartSheet> sheet, QWidget* parent)
    : QWidget(parent), sheet_(std::move(sheet)) {
    setObjectName(QStringLiteral("chartSheetView"));
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("chartCaption"));
    caption_->setContentsMargins(8, 4, 8, 4);
    empty_ = new QLabel(QStringLiteral("Este gráfico no tiene datos"), this);
    empty_->setAlignment(Qt::AlignCenter);
    view_ = new QChartView(this);
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    stack_ = new QStackedLayout;
    stack_->addWidget(empty_);
    stack_->addWidget(view_);
    layout->addLayout(stack_, 1);
    refresh();
}

QString ChartSheetView::caption() const { return caption_->text(); }

QChart* ChartSheetView::chart() const { return stack_->currentWidget() == view_ ? view_->chart() : nullptr; }

void ChartSheetView::refresh() {
    const auto& model = sheet_->model();
    if (!model || !sheet_->isAttached()) {
        caption_->setText(QStringLiteral("Gráfico vacío"));
        stack_->setCurrentWidget(empty_);
        return;
    }
    QString caption = QStringLiteral("Gráfico de tipo %1").arg(qs(chartKindLabel(model->kind)));
    if (isFlatCounterpart(model->kind)) caption += QStringLiteral(" (dibujado en 2-D)");
    caption_->setText(caption);
    const ChartData data = readChartData(*model);
    if (data.series.empty()) {
        stack_->setCurrentWidget(empty_);
        return;
    }
    QChart* chart = buildChart(*model, data);
    if (!model->title.empty()) chart->setTitle(qs(model->title));
    QFont titleFont = chart->titleFont();
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->legend()->setVisible(model->hasLegend);
    chart->legend()->setAlignment(Qt::AlignRight);
    QChart* old = view_->chart();
    view_->setChart(chart);
    delete old;
    stack_->setCurrentWidget(view_);
}

}  // namespace tabulix::ui
