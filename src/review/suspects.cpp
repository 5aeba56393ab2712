#include "review/suspects.h"

#include "table/tablemodel.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int longestMantissa = 15;
constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

bool isNoData(const Format::Field& field, double value)
{
    if (std::isnan(field.noData))
        return false;
    const double scale = powersOfTen[qMax(0, Format::ruleDecimals(field.rule))];
    return std::llround(value * scale) == std::llround(field.noData * scale);
}

// Away from both neighbours, on the same side, by more than jump.
bool isSpike(double value, double before, double after, double jump)
{
    return (value - before > jump && value - after > jump) ||
           (before - value > jump && after - value > jump);
}

} // namespace

SuspectCells::SuspectCells(const TableModel* tableModel, Format::DataFileType type, QObject* parent)
    : QObject(parent), model(tableModel), layout(Format::layout(type)),
      columns(qMin(tableModel->columnCount(), Format::layout(type).columnCount))
{
    connect(model, &QAbstractItemModel::rowsInserted, this, &SuspectCells::followInsertedRows);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &SuspectCells::followRemovedRows);
    connect(model, &QAbstractItemModel::dataChanged, this, &SuspectCells::followChangedCells);
    connect(model, &QAbstractItemModel::modelReset, this, &SuspectCells::findAll);
    findAll();
}

// The number a cell shows. The table writes plain decimal texts, which this reads far faster
// than a general parser; anything else, typed by the user, goes to the general one.
double SuspectCells::cellValue(const QString& text, bool* isNumber)
{
    const QChar* c = text.constData();
    const int size = text.size();
    int i = size > 0 && c[0] == QLatin1Char('-') ? 1 : 0;
    const bool negative = i == 1;
    qint64 mantissa = 0;
    int digits = 0;
    int decimals = -1;
    for (; i < size; ++i) {
        const ushort u = c[i].unicode();
        if (u >= '0' && u <= '9' && digits < longestMantissa) {
            mantissa = mantissa * 10 + (u - '0');
            ++digits;
            decimals += decimals >= 0 ? 1 : 0;
        } else if (u == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (i == size && digits > 0) {
        *isNumber = true;
        const double value = double(mantissa) / powersOfTen[qMax(0, decimals)];
        return negative ? -value : value;
    }
    const double value = text.toDouble(isNumber);
    *isNumber = *isNumber && std::isfinite(value);
    return value;
}

CellState SuspectCells::state(int row, int column) const
{
    if (column < 0 || column >= columns)
        return CellState::Reading;
    const QVector<Marked>& cells = marked.at(column);
    const auto it = std::lower_bound(cells.begin(), cells.end(), row,
                                     [](const Marked& m, int r) { return m.row < r; });
    return it != cells.end() && it->row == row ? it->state : CellState::Reading;
}

int SuspectCells::suspectCount(int column) const
{
    return column >= 0 && column < columns ? suspects.at(column) : 0;
}

QModelIndex SuspectCells::nextSuspect(int row, int column, const QVector<bool>& shown) const
{
    const auto isSuspect = [](const Marked& m) {
        return m.state == CellState::Suspect;
    };
    const auto earlier = [](const QModelIndex& a, int r, int c) {
        return !a.isValid() || r < a.row() || (r == a.row() && c < a.column());
    };
    QModelIndex after;
    QModelIndex first;
    for (int c = 0; c < columns; ++c) {
        if (!shown.value(c))
            continue;
        const QVector<Marked>& cells = marked.at(c);
        const auto top = std::find_if(cells.begin(), cells.end(), isSuspect);
        if (top != cells.end() && earlier(first, top->row, c))
            first = model->index(top->row, c);
        const int from = c > column ? row : row + 1;
        const auto start = std::lower_bound(cells.begin(), cells.end(), from,
                                            [](const Marked& m, int r) { return m.row < r; });
        const auto next = std::find_if(start, cells.end(), isSuspect);
        if (next != cells.end() && earlier(after, next->row, c))
            after = model->index(next->row, c);
    }
    return after.isValid() ? after : first;
}

void SuspectCells::findAll()
{
    marked.fill(QVector<Marked>(), columns);
    suspects.fill(0, columns);
    if (!model)
        return;
    enum Kind : quint8 { NotANumber, Reading, NoData };
    const int rows = model->rowCount();
    QVector<double> values(rows);
    QVector<Kind> kinds(rows);
    for (int c = 0; c < columns; ++c) {
        const Format::Field& field = layout.fields[c];
        const Format::PlausibleRange& range = Format::plausibleRange(field.quantity);
        // Cells of equal value mostly share one string: its number is read once.
        const QChar* lastText = nullptr;
        bool isNumber = false;
        for (int r = 0; r < rows; ++r) {
            const QString& text = model->cellText(r, c);
            if (text.constData() != lastText || r == 0) {
                lastText = text.constData();
                values[r] = cellValue(text, &isNumber);
            } else {
                values[r] = values[r - 1];
            }
            kinds[r] = !isNumber ? NotANumber : isNoData(field, values[r]) ? NoData : Reading;
        }
        QVector<Marked>& cells = marked[c];
        for (int r = 0; r < rows; ++r) {
            if (kinds[r] == NoData)
                cells.append({r, CellState::NoData});
            if (kinds[r] != Reading)
                continue;
            const double v = values[r];
            const bool outside = v < range.lowest || v > range.highest;
            const bool spike = range.jump > 0 && r > 0 && r + 1 < rows && kinds[r - 1] == Reading &&
                               kinds[r + 1] == Reading &&
                               isSpike(v, values[r - 1], values[r + 1], range.jump);
            if (outside || spike) {
                cells.append({r, CellState::Suspect});
                ++suspects[c];
            }
        }
    }
    emit changed();
}

CellState SuspectCells::stateOf(int row, int column) const
{
    const Format::Field& field = layout.fields[column];
    bool isNumber = false;
    const double value = cellValue(model->cellText(row, column), &isNumber);
    if (!isNumber)
        return CellState::Reading;
    if (isNoData(field, value))
        return CellState::NoData;
    const Format::PlausibleRange& range = Format::plausibleRange(field.quantity);
    if (value < range.lowest || value > range.highest)
        return CellState::Suspect;
    double before = 0;
    double after = 0;
    if (range.jump > 0 && isReading(row - 1, column, &before) &&
        isReading(row + 1, column, &after) && isSpike(value, before, after, range.jump))
        return CellState::Suspect;
    return CellState::Reading;
}

bool SuspectCells::isReading(int row, int column, double* value) const
{
    if (row < 0 || row >= model->rowCount())
        return false;
    bool isNumber = false;
    *value = cellValue(model->cellText(row, column), &isNumber);
    return isNumber && !isNoData(layout.fields[column], *value);
}

// A change moves the spike test of the neighbours too.
void SuspectCells::findAround(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    if (!model)
        return;
    const int top = qMax(0, firstRow - 1);
    const int bottom = qMin(model->rowCount() - 1, lastRow + 1);
    for (int c = qMax(0, firstColumn); c <= qMin(columns - 1, lastColumn); ++c) {
        for (int r = top; r <= bottom; ++r)
            setState(r, c, stateOf(r, c));
    }
    emit changed();
}

void SuspectCells::setState(int row, int column, CellState state)
{
    QVector<Marked>& cells = marked[column];
    const auto it = std::lower_bound(cells.begin(), cells.end(), row,
                                     [](const Marked& m, int r) { return m.row < r; });
    const bool present = it != cells.end() && it->row == row;
    if (present) {
        count(it->state, column, -1);
        if (state == CellState::Reading)
            cells.erase(it);
        else
            it->state = state;
    } else if (state != CellState::Reading) {
        cells.insert(it, {row, state});
    }
    count(state, column, 1);
}

void SuspectCells::count(CellState state, int column, int change)
{
    if (state == CellState::Suspect)
        suspects[column] += change;
}

void SuspectCells::followInsertedRows(const QModelIndex&, int first, int last)
{
    const int inserted = last - first + 1;
    for (QVector<Marked>& cells : marked) {
        for (Marked& m : cells)
            m.row += m.row >= first ? inserted : 0;
    }
    findAround(first, last, 0, columns - 1);
}

void SuspectCells::followRemovedRows(const QModelIndex&, int first, int last)
{
    const int removed = last - first + 1;
    for (int c = 0; c < columns; ++c) {
        QVector<Marked>& cells = marked[c];
        const auto gone = std::remove_if(cells.begin(), cells.end(), [&](const Marked& m) {
            if (m.row < first || m.row > last)
                return false;
            count(m.state, c, -1);
            return true;
        });
        cells.erase(gone, cells.end());
        for (Marked& m : cells)
            m.row -= m.row > last ? removed : 0;
    }
    findAround(first, first - 1, 0, columns - 1);
}

void SuspectCells::followChangedCells(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    findAround(topLeft.row(), bottomRight.row(), topLeft.column(), bottomRight.column());
}
