#include "review/chartwindow.h"

#include "review/columncurve.h"
#include "table/tablemodel.h"

#include <qwt_date.h>
#include <qwt_date_scale_draw.h>
#include <qwt_date_scale_engine.h>
#include <qwt_picker_machine.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_picker.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <array>
#include <cmath>

namespace
{

// A click this close to a point, in pixels, is a click on it.
constexpr double clickTolerance = 8;

constexpr double minute = 60 * 1000.0;

// Records are a minute apart at the closest: a narrower date span shows nothing more. No
// station's history is a century long, and far wider spans overflow the date axis's day count.
constexpr double shortestDateSpan = 10 * minute;
constexpr double longestDateSpan = 100 * 366 * 24 * 60 * minute;

// A row label's date as milliseconds on the table's own clock, kept as universal time: the
// chart then draws each record where its label puts it, an hour that summer time repeats
// included. A row whose label is no date, such as the placeholder of an added row, is left out.
// The numbers are read in stretches, so that a history of millions of rows needs no second copy.
std::vector<ColumnCurve::Cell> readCells(const TableModel& model, int column,
                                         const ChartWindow::StateOf& stateOf,
                                         const ChartWindow::GapBefore& gapBefore)
{
    std::vector<ColumnCurve::Cell> cells;
    if (column >= model.columnCount())
        return cells;
    const qint64 epoch = QDate(1970, 1, 1).toJulianDay() * 24 * 60;
    const int rows = model.rowCount();
    cells.reserve(std::size_t(rows));
    constexpr int stretch = 4096;
    std::array<double, stretch> values;
    std::array<bool, stretch> isNumber;
    std::array<qint64, stretch> keys;
    for (int first = 0; first < rows; first += stretch) {
        const int count = qMin(stretch, rows - first);
        model.readNumbers(column, first, count, values.data(), isNumber.data());
        model.readLabelKeys(first, count, keys.data());
        for (int i = 0; i < count; ++i) {
            const int row = first + i;
            const qint64 key = keys[size_t(i)];
            if (key >= 0 && isNumber[size_t(i)] && std::isfinite(values[size_t(i)]))
                cells.push_back({double(key - epoch) * 60 * 1000, values[size_t(i)], row,
                                 stateOf(row), gapBefore && gapBefore(row)});
        }
    }
    return cells;
}

QwtDateScaleDraw* dateScaleDraw()
{
    auto* draw = new QwtDateScaleDraw(Qt::UTC);
    const QString dayFormat = QStringLiteral("dd/MM/yyyy");
    draw->setDateFormat(QwtDate::Millisecond, QStringLiteral("hh:mm:ss\n") + dayFormat);
    draw->setDateFormat(QwtDate::Second, QStringLiteral("hh:mm:ss\n") + dayFormat);
    draw->setDateFormat(QwtDate::Minute, QStringLiteral("hh:mm\n") + dayFormat);
    draw->setDateFormat(QwtDate::Hour, QStringLiteral("hh:mm\n") + dayFormat);
    draw->setDateFormat(QwtDate::Day, dayFormat);
    draw->setDateFormat(QwtDate::Week, dayFormat);
    draw->setDateFormat(QwtDate::Month, QStringLiteral("MM/yyyy"));
    draw->setDateFormat(QwtDate::Year, QStringLiteral("yyyy"));
    return draw;
}

} // namespace

ChartWindow::ChartWindow(const TableModel* model, int column, int decimals, StateOf stateOf,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), model(model), columnIndex(column),
      valueStep(std::pow(10.0, -decimals)), stateOf(std::move(stateOf))
{
    setWindowTitle(
        model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().replace('\n', ' '));
    createPlot();
    createControls();
    refreshTimer.setSingleShot(true);
    refreshTimer.setInterval(0);
    connect(&refreshTimer, &QTimer::timeout, this, &ChartWindow::refresh);
    followModel();
    resize(900, 500);
    refresh();
}

void ChartWindow::setGapBefore(GapBefore gap)
{
    gapBefore = std::move(gap);
    scheduleRefresh();
}

void ChartWindow::createPlot()
{
    plot = new QwtPlot(this);
    plot->setTitle(windowTitle());
    auto* canvas = new QwtPlotCanvas;
    canvas->setFrameStyle(QFrame::Box | QFrame::Plain);
    canvas->setLineWidth(1);
    plot->setCanvas(canvas);
    plot->setCanvasBackground(Qt::white);
    plot->setAxisScaleDraw(QwtPlot::xBottom, dateScaleDraw());
    // The whole view ends half an hour past the first and last record, not at the round dates
    // around them; a single record gets an hour, rather than decades either side.
    auto* dateEngine = new QwtDateScaleEngine(Qt::UTC);
    dateEngine->setAttribute(QwtScaleEngine::Floating);
    dateEngine->setMargins(30 * minute, 30 * minute);
    plot->setAxisScaleEngine(QwtPlot::xBottom, dateEngine);

    auto* grid = new QwtPlotGrid;
    grid->setPen(QColor(225, 225, 225), 0, Qt::DotLine);
    grid->attach(plot);
    curve = new ColumnCurve;
    curve->attach(plot);

    auto* zoomPicker = new QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft,
                                         QwtPicker::RectRubberBand, QwtPicker::AlwaysOff, canvas);
    zoomPicker->setStateMachine(new QwtPickerDragRectMachine);
    zoomPicker->setRubberBandPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    connect(zoomPicker, qOverload<const QRectF&>(&QwtPlotPicker::selected), this,
            &ChartWindow::zoomTo);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        (new QwtPlotPanner(canvas))->setMouseButton(button);
    canvas->installEventFilter(this);
}

void ChartWindow::createControls()
{
    auto* hint = new QLabel(tr("Molette : zoom sur les dates (Maj : sur les valeurs). Cadre tiré : "
                               "zoom. Bouton droit ou du milieu tiré : déplacer. Clic sur un "
                               "point : aller à la valeur dans le tableau."));
    hint->setWordWrap(true);
    QPalette quiet = hint->palette();
    quiet.setColor(QPalette::WindowText, QColor(96, 96, 96));
    hint->setPalette(quiet);
    auto* whole = new QPushButton(tr("Vue entière"));
    connect(whole, &QPushButton::clicked, this, &ChartWindow::showWholeColumn);
    auto* controls = new QHBoxLayout;
    controls->addWidget(hint, 1);
    controls->addWidget(whole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(plot, 1);
    layout->addLayout(controls);
}

void ChartWindow::followModel()
{
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (topLeft.column() <= columnIndex && columnIndex <= bottomRight.column())
                    scheduleRefresh();
            });
    connect(model, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation) {
                if (orientation == Qt::Vertical)
                    scheduleRefresh();
            });
    connect(model, &QAbstractItemModel::rowsInserted, this, &ChartWindow::scheduleRefresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ChartWindow::scheduleRefresh);
    connect(model, &QAbstractItemModel::modelReset, this, &ChartWindow::scheduleRefresh);
}

// An import changes hundreds of thousands of cells in one go; restarting an active timer for
// each would cost more than the refresh.
void ChartWindow::scheduleRefresh()
{
    if (!refreshTimer.isActive())
        refreshTimer.start();
}

void ChartWindow::refresh()
{
    refreshTimer.stop();
    curve->setCells(model ? readCells(*model, columnIndex, stateOf, gapBefore)
                          : std::vector<ColumnCurve::Cell>());
    plot->replot();
}

bool ChartWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != plot->canvas())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Wheel: {
        // Some systems turn a wheel held with Shift into a horizontal one.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        zoomAround(wheel->position().toPoint(), delta.y() != 0 ? delta.y() : delta.x(),
                   wheel->modifiers() & Qt::ShiftModifier);
        return true;
    }
    case QEvent::MouseButtonPress:
        pressPosition = static_cast<QMouseEvent*>(event)->pos();
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            (mouse->pos() - pressPosition).manhattanLength() < QApplication::startDragDistance())
            pickPointAt(mouse->pos());
        break;
    }
    default:
        break;
    }
    return false;
}

// The wheel zooms the dates, where a column's story is told, and with Shift the values; the
// date or value under the cursor stays under it.
void ChartWindow::zoomAround(const QPoint& position, int wheelDelta, bool values)
{
    const int axis = values ? QwtPlot::yLeft : QwtPlot::xBottom;
    const QwtScaleMap map = plot->canvasMap(axis);
    const double factor = std::pow(0.8, wheelDelta / 120.0);
    const double fixed = map.invTransform(values ? position.y() : position.x());
    const double from = fixed + (map.s1() - fixed) * factor;
    const double to = fixed + (map.s2() - fixed) * factor;
    if (values)
        setValueSpan(from, to);
    else
        setDateSpan(from, to);
    plot->replot();
}

// A rectangle too small to have been meant, which a click leaves behind, zooms nothing.
void ChartWindow::zoomTo(const QRectF& area)
{
    const QRectF pixels(QPointF(plot->transform(QwtPlot::xBottom, area.left()),
                                plot->transform(QwtPlot::yLeft, area.top())),
                        QPointF(plot->transform(QwtPlot::xBottom, area.right()),
                                plot->transform(QwtPlot::yLeft, area.bottom())));
    const QRectF normal = pixels.normalized();
    if (normal.width() < QApplication::startDragDistance() ||
        normal.height() < QApplication::startDragDistance())
        return;
    const QRectF value = area.normalized();
    setDateSpan(value.left(), value.right());
    setValueSpan(value.top(), value.bottom());
    plot->replot();
}

void ChartWindow::setDateSpan(double from, double to)
{
    const double centre = (from + to) / 2;
    const double half = qBound(shortestDateSpan, to - from, longestDateSpan) / 2;
    plot->setAxisScale(QwtPlot::xBottom, centre - half, centre + half);
}

// Narrower than ten steps of the cell texts, the values blur into float noise, and the wheel
// could shrink the span to a few doubles that no zoom widens again; a hundred times wider than
// the column's range, its line is flat. A column of equal values, or of none, has room to zoom
// out all the same. The whole view of nearly equal values, or of equal large ones, may lie
// beyond a bound: a zoom from there only moves toward it.
void ChartWindow::setValueSpan(double from, double to)
{
    const double centre = (from + to) / 2;
    // A corrupt record's value, as large as a float gets, has doubles far coarser than a step.
    const double shortest = qMax(10 * valueStep, std::abs(centre) * 1e-9);
    const double longest = 100 * qMax(curve->boundingRect().height(), shortest);
    const double span = plot->axisInterval(QwtPlot::yLeft).width();
    const double half = qBound(qMin(shortest, span), to - from, qMax(longest, span)) / 2;
    plot->setAxisScale(QwtPlot::yLeft, centre - half, centre + half);
}

void ChartWindow::showWholeColumn()
{
    plot->setAxisAutoScale(QwtPlot::xBottom);
    plot->setAxisAutoScale(QwtPlot::yLeft);
    plot->replot();
}

void ChartWindow::pickPointAt(const QPoint& position)
{
    // Rows inserted or removed since the last re-read have moved the records.
    if (refreshTimer.isActive())
        refresh();
    if (!model)
        return;
    const int row = curve->rowNear(position, plot->canvasMap(QwtPlot::xBottom),
                                   plot->canvasMap(QwtPlot::yLeft), clickTolerance);
    if (row >= 0)
        emit recordClicked(row);
}
