#pragma once
// The table view of a worksheet. On top of the cells its delegate draws, it draws the texts that
// are wider than their cells across the empty neighbouring cells, as the spreadsheet shows them:
// a left-aligned text to the right, a right-aligned one to the left, a centred one both ways.

#include <QTableView>

namespace tabulix::ui {

class WorksheetModel;

class WorksheetGrid : public QTableView {
    Q_OBJECT
public:
    WorksheetGrid(const WorksheetModel& model, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool isEmptyCell(int row, int column) const;
    void drawSpilledText(QPainter& painter, int row, int column);

    const WorksheetModel& model_;
};

}  // namespace tabulix::ui
