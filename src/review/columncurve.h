#ifndef STRATOMARK_COLUMNCURVE_H
#define STRATOMARK_COLUMNCURVE_H

#include "review/cellstate.h"

#include <qwt_plot_curve.h>
#include <qwt_symbol.h>

#include <QVector>

#include <vector>

class QwtScaleMap;

// A column's values in date order, as a line with points. A decade of records holds far more
// points than a canvas has pixels, so it draws, per pixel column, only the first, lowest,
// highest and last value, and its points only once few enough are in view; clicks still find
// every point.
class ColumnCurve : public QwtPlotCurve
{
public:
    // One cell of the column: x is its record's date, y its value.
    struct Cell {
        double x;
        double y;
        int row;
        CellState state;
        bool gapBefore; // records are missing before it
    };

    ColumnCurve();

    // Cells in any order; a NoData cell is no point but breaks the line where its date falls, as
    // does a cell with missing records before it.
    void setCells(std::vector<Cell> cells);

    // The table row of the point nearest to position, in canvas pixels, when one lies within
    // tolerance pixels of it; -1 otherwise.
    int rowNear(const QPointF& position, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                double tolerance) const;

protected:
    void drawSeries(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                    const QRectF& canvasRect, int from, int to) const override;

private:
    // The lowest and highest index of the points between two dates.
    std::pair<int, int> indexRange(double fromX, double toX) const;
    std::pair<int, int> visibleRange(const QwtScaleMap& xMap, const QRectF& canvasRect) const;
    void drawLine(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                  const QRectF& canvasRect, std::pair<int, int> range) const;
    void drawReadingSymbols(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                            const QRectF& canvasRect, std::pair<int, int> range) const;
    void drawSuspectSymbols(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                            const QRectF& canvasRect, std::pair<int, int> range) const;

    // Parallel to the curve's samples, which share points' data.
    QVector<QPointF> points;
    QVector<int> rows;
    std::vector<bool> breaksBefore; // a no-data cell or a gap lies before this point
    std::vector<bool> suspect;
    QVector<int> suspectIndexes; // ascending
    QwtSymbol suspectSymbol;
};

#endif
