#include "review/columncurve.h"

#include <qwt_clipper.h>
#include <qwt_painter.h>
#include <qwt_pixel_matrix.h>
#include <qwt_scale_map.h>

#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace
{

const QColor lineColour(31, 90, 160);
const QColor suspectColour(215, 25, 28);

// The points of one pixel column that the line visits: the first and the last, and between
// them the highest and the lowest in the order they came. Drawn so, the column looks exactly
// as if every point in it had been drawn.
class PixelColumn
{
public:
    bool holds(int pixel) const { return count > 0 && x == pixel; }

    void add(int pixel, const QPointF& point)
    {
        if (count == 0) {
            x = pixel;
            first = top = bottom = point;
            topAt = bottomAt = 0;
        }
        if (point.y() < top.y()) {
            top = point;
            topAt = count;
        }
        if (point.y() > bottom.y()) {
            bottom = point;
            bottomAt = count;
        }
        last = point;
        ++count;
    }

    // Moves the column's points to the end of run.
    void flushInto(QPolygonF& run)
    {
        if (count == 0)
            return;
        const auto append = [&run](const QPointF& point) {
            if (run.isEmpty() || run.last() != point)
                run.append(point);
        };
        append(first);
        append(topAt < bottomAt ? top : bottom);
        append(topAt < bottomAt ? bottom : top);
        append(last);
        count = 0;
    }

private:
    int x = 0;
    int count = 0;
    QPointF first, top, bottom, last;
    int topAt = 0;
    int bottomAt = 0;
};

// A pixel column index for any x, however far off the canvas the neighbours of the visible
// points lie.
int pixelOf(double x)
{
    return qFloor(qBound(-1.0e6, x, 1.0e6));
}

void drawRun(QPainter* painter, const QPolygonF& run, const QRectF& clip)
{
    if (run.size() == 1) {
        if (clip.contains(run.first()))
            painter->drawPoint(run.first());
        return;
    }
    QwtPainter::drawPolyline(painter, QwtClipper::clipPolygonF(clip, run));
}

} // namespace

ColumnCurve::ColumnCurve()
    : suspectSymbol(QwtSymbol::Ellipse, QBrush(suspectColour), QPen(suspectColour.darker(150)),
                    QSize(9, 9))
{
    setPen(QPen(lineColour, 1.5));
    setSymbol(
        new QwtSymbol(QwtSymbol::Ellipse, QBrush(lineColour), QPen(Qt::white, 1), QSize(7, 7)));
    setRenderHint(QwtPlotItem::RenderAntialiased);
}

void ColumnCurve::setCells(std::vector<Cell> cells)
{
    // Records of one date stay in table order, so that the line does not change between two
    // refreshes of an unchanged table.
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
        return a.x < b.x || (a.x == b.x && a.row < b.row);
    });
    points.clear();
    rows.clear();
    breaksBefore.clear();
    suspectIndexes.clear();
    points.reserve(int(cells.size()));
    rows.reserve(int(cells.size()));
    breaksBefore.reserve(cells.size());
    bool broken = false;
    for (const Cell& cell : cells) {
        if (cell.state == CellState::NoData) {
            broken = true;
            continue;
        }
        if (cell.state == CellState::Suspect)
            suspectIndexes.append(points.size());
        points.append(QPointF(cell.x, cell.y));
        rows.append(cell.row);
        breaksBefore.push_back(broken || cell.gapBefore);
        broken = false;
    }
    setSamples(points);
}

std::pair<int, int> ColumnCurve::indexRange(double fromX, double toX) const
{
    const auto byX = [](const QPointF& point, double x) {
        return point.x() < x;
    };
    const auto first = std::lower_bound(points.cbegin(), points.cend(), fromX, byX);
    const auto end = std::upper_bound(first, points.cend(), toX,
                                      [](double x, const QPointF& point) { return x < point.x(); });
    return {int(first - points.cbegin()), int(end - points.cbegin()) - 1};
}

// The points on the canvas, and one more on each side that the line leads to.
std::pair<int, int> ColumnCurve::visibleRange(const QwtScaleMap& xMap,
                                              const QRectF& canvasRect) const
{
    const auto [left, right] =
        std::minmax({xMap.invTransform(canvasRect.left()), xMap.invTransform(canvasRect.right())});
    const auto [first, last] = indexRange(left, right);
    return {qMax(first - 1, 0), qMin(last + 1, points.size() - 1)};
}

void ColumnCurve::drawSeries(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                             const QRectF& canvasRect, int, int) const
{
    if (points.isEmpty())
        return;
    const std::pair<int, int> range = visibleRange(xMap, canvasRect);
    drawLine(painter, xMap, yMap, canvasRect, range);
    // Points closer than this are a blur of symbols that hides the line.
    const int symbolSpacing = 4;
    if ((range.second - range.first + 1) * symbolSpacing <= canvasRect.width())
        drawReadingSymbols(painter, xMap, yMap, canvasRect, range);
    drawSuspectSymbols(painter, xMap, yMap, canvasRect, range);
}

void ColumnCurve::drawLine(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                           const QRectF& canvasRect, std::pair<int, int> range) const
{
    // A clip edge outside the canvas, where the segments that the clipper adds along it are
    // never seen.
    const double margin = pen().widthF() + 2;
    const QRectF clip = canvasRect.adjusted(-margin, -margin, margin, margin);
    painter->setPen(pen());
    QPolygonF run;
    PixelColumn column;
    for (int i = range.first; i <= range.second; ++i) {
        if (breaksBefore[std::size_t(i)]) {
            column.flushInto(run);
            drawRun(painter, run, clip);
            run.clear();
        }
        const QPointF point(xMap.transform(points[i].x()), yMap.transform(points[i].y()));
        const int pixel = pixelOf(point.x());
        if (!column.holds(pixel))
            column.flushInto(run);
        column.add(pixel, point);
    }
    column.flushInto(run);
    if (!run.isEmpty())
        drawRun(painter, run, clip);
}

// Only the symbols that reach into the canvas: a corrupt record's value, as large as a float
// gets, lies far beyond what a painter can draw at.
void ColumnCurve::drawReadingSymbols(QPainter* painter, const QwtScaleMap& xMap,
                                     const QwtScaleMap& yMap, const QRectF& canvasRect,
                                     std::pair<int, int> range) const
{
    const double reach = symbol()->size().width();
    const QRectF around = canvasRect.adjusted(-reach, -reach, reach, reach);
    QPolygonF shown;
    for (int i = range.first; i <= range.second; ++i) {
        const QPointF point(xMap.transform(points[i].x()), yMap.transform(points[i].y()));
        if (around.contains(point))
            shown.append(point);
    }
    symbol()->drawSymbols(painter, shown);
}

// However many suspect points there are, one symbol per pixel is enough.
void ColumnCurve::drawSuspectSymbols(QPainter* painter, const QwtScaleMap& xMap,
                                     const QwtScaleMap& yMap, const QRectF& canvasRect,
                                     std::pair<int, int> range) const
{
    const auto first =
        std::lower_bound(suspectIndexes.cbegin(), suspectIndexes.cend(), range.first);
    const auto end = std::upper_bound(first, suspectIndexes.cend(), range.second);
    QwtPixelMatrix drawn(canvasRect.toAlignedRect());
    QPolygonF shown;
    for (auto index = first; index != end; ++index) {
        const QPointF point(xMap.transform(points[*index].x()), yMap.transform(points[*index].y()));
        if (!canvasRect.contains(point) ||
            drawn.testAndSetPixel(qFloor(point.x()), qFloor(point.y()), true))
            continue;
        shown.append(point);
    }
    suspectSymbol.drawSymbols(painter, shown);
}

int ColumnCurve::rowNear(const QPointF& position, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                         double tolerance) const
{
    const auto [left, right] = std::minmax(
        {xMap.invTransform(position.x() - tolerance), xMap.invTransform(position.x() + tolerance)});
    const auto [first, last] = indexRange(left, right);
    int nearest = -1;
    double nearestSquare = tolerance * tolerance;
    for (int i = first; i <= last; ++i) {
        const QPointF offset =
            QPointF(xMap.transform(points[i].x()), yMap.transform(points[i].y())) - position;
        const double square = QPointF::dotProduct(offset, offset);
        if (square <= nearestSquare) {
            nearest = i;
            nearestSquare = square;
        }
    }
    return nearest < 0 ? -1 : rows[nearest];
}
