#ifndef STRATOMARK_CHARTWINDOW_H
#define STRATOMARK_CHARTWINDOW_H

#include "review/cellstate.h"

#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class ColumnCurve;
class QwtPlot;
class TableModel;

// The values of one column of the table against their records' dates, in a window of its own
// beside the table. The wheel (on the dates, with Shift on the values) and a dragged rectangle
// zoom, a drag with the right or middle button pans, "Vue entière" shows the whole column again,
// and a click on a point names its record's row.
class ChartWindow : public QWidget
{
    Q_OBJECT

public:
    using StateOf = std::function<CellState(int row)>;
    // decimals: those of the column's cell texts; ten steps of the last make the narrowest value
    // span.
    ChartWindow(const TableModel* model, int column, int decimals, StateOf stateOf,
                QWidget* parent);
    int column() const { return columnIndex; }
    // Whether records are missing before a row: the line breaks there.
    using GapBefore = std::function<bool(int row)>;
    void setGapBefore(GapBefore gap);

public slots:
    // Any number of calls before the event loop comes round make one re-read of the model.
    void scheduleRefresh();

signals:
    // A click on (near) a point: that point's table row, as the table stands now.
    void recordClicked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createPlot();
    void createControls();
    void followModel();
    void refresh();
    void zoomAround(const QPoint& position, int wheelDelta, bool values);
    void zoomTo(const QRectF& area);
    void setDateSpan(double from, double to);
    void setValueSpan(double from, double to);
    void showWholeColumn();
    void pickPointAt(const QPoint& position);

    QPointer<const TableModel> model;
    int columnIndex;
    double valueStep;
    StateOf stateOf;
    GapBefore gapBefore;
    QwtPlot* plot = nullptr;
    ColumnCurve* curve = nullptr;
    QTimer refreshTimer;
    QPoint pressPosition;
};

#endif
