#pragma once
// A chart sheet on screen: the chart drawn from its model (kind, titles, legend, series and
// categories) with Qt Charts, read again whenever the chart or its data change. Kinds drawn
// with depth in the spreadsheet are drawn as their flat counterpart, and the caption above
// the chart names the kind.

#include <QWidget>
#include <memory>

class QLabel;
class QStackedLayout;

class QChartView;
class QChart;

namespace tabulix::spreadsheet {
class ChartSheet;
}

namespace tabulix::ui {

class ChartSheetView : public QWidget {
    Q_OBJECT
public:
    explicit ChartSheetView(std::shared_ptr<spreadsheet::ChartSheet> sheet, QWidget* parent = nullptr);

    const std::shared_ptr<spreadsheet::ChartSheet>& sheet() const { return sheet_; }
    // Draws the chart again from the model and the cells.
    void refresh();

    // What the caption above the chart says (the kind, and how it is drawn), and the chart
    // drawn (nullptr while the sheet holds no chart or no series).
    QString caption() const;
    QChart* chart() const;

private:
    std::shared_ptr<spreadsheet::ChartSheet> sheet_;
    QLabel* caption_;
    QLabel* empty_;
    QChartView* view_;
    QStackedLayout* stack_;
};

}  // namespace tabulix::ui
