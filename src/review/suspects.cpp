#include "review/suspects.h"

#include "table/tablemodel.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

bool isNoData(const Format::Field& field, double value)
{
    if (std::isnan(field.noData))
        return false;
    const double scale = powersOfTen[qMax(0, Format::ruleDecimals(field.rule))];
    return std::llround(value * scale) == std::llround(field.noData * scale);
}

using Quality::Finding;
using Quality::Kind;

bool isSuspect(const Finding& finding)
{
    return finding.rule != Quality::Rule::NoData;
}

// The position of the first finding at row or below it.
QVector<Finding>::const_iterator firstFrom(const QVector<Finding>& findings, int row)
{
    return std::lower_bound(findings.cbegin(), findings.cend(), row,
                            [](const Finding& f, int r) { return f.row < r; });
}

const Finding* findingAt(const QVector<Finding>& findings, int row)
{
    const auto it = firstFrom(findings, row);
    return it != findings.cend() && it->row == row ? &*it : nullptr;
}

void shiftRows(QVector<Finding>& findings, int from, int by)
{
    for (int i = int(firstFrom(findings, from) - findings.cbegin()); i < findings.size(); ++i)
        findings[i].row += by;
}

} // namespace

SuspectCells::SuspectCells(const TableModel* tableModel, Format::DataFileType type, RowTime rowTime,
                           QObject* parent)
    : QObject(parent), model(tableModel), layout(Format::layout(type)), rowTime(std::move(rowTime)),
      columns(qMin(tableModel->columnCount(), Format::layout(type).columnCount))
{
    for (int c = columns - 1; c >= 0; --c) {
        if (layout.fields[c].quantity == Format::Quantity::Wind)
            windColumn = c;
        if (layout.fields[c].quantity == Format::Quantity::Gust)
            gustColumn = c;
    }
    connect(model, &QAbstractItemModel::rowsInserted, this, &SuspectCells::followInsertedRows);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &SuspectCells::followRemovedRows);
    connect(model, &QAbstractItemModel::dataChanged, this, &SuspectCells::followChangedCells);
    connect(model, &QAbstractItemModel::headerDataChanged, this,
            &SuspectCells::followChangedLabels);
    connect(model, &QAbstractItemModel::modelReset, this, &SuspectCells::findAll);
    findAll();
}

CellState SuspectCells::state(int row, int column) const
{
    if (column < 0 || column >= columns)
        return CellState::Reading;
    const Finding* finding = findingAt(marked.at(column), row);
    return !finding                                 ? CellState::Reading
           : finding->rule == Quality::Rule::NoData ? CellState::NoData
                                                    : CellState::Suspect;
}

bool SuspectCells::hasDateFinding(int row) const
{
    return findingAt(dated, row) != nullptr;
}

bool SuspectCells::hasGapBefore(int row) const
{
    const Finding* finding = findingAt(dated, row);
    return finding && finding->rule == Quality::Rule::DateGap;
}

QString SuspectCells::reason(int row, int column) const
{
    if (column == Place::dateColumn) {
        const Finding* finding = findingAt(dated, row);
        return finding ? Quality::reason(*finding, nullptr) : QString();
    }
    if (column < 0 || column >= columns)
        return QString();
    const Finding* finding = findingAt(marked.at(column), row);
    return finding ? Quality::reason(*finding, &layout.fields[column]) : QString();
}

int SuspectCells::suspectCount(int column) const
{
    return column >= 0 && column < columns ? suspects.at(column) : 0;
}

SuspectCells::Place SuspectCells::nextFinding(const Place& place, const QVector<bool>& shown,
                                              bool forward, bool* wrapped) const
{
    // Places in reading order; a row's date comes before its cells.
    const auto before = [](int row, int column, const Place& other) {
        return row < other.row || (row == other.row && column < other.column);
    };
    Place next;
    Place end; // the first place of all going forward, the last going back
    const auto consider = [&](const QVector<Finding>& findings, int column, bool all) {
        if (forward) {
            const int from = column > place.column ? place.row : place.row + 1;
            const auto first =
                std::find_if(findings.cbegin(), findings.cend(),
                             [all](const Finding& f) { return all || isSuspect(f); });
            if (first != findings.cend() && (!end.isValid() || before(first->row, column, end)))
                end = {first->row, column};
            const auto after =
                std::find_if(firstFrom(findings, from), findings.cend(),
                             [all](const Finding& f) { return all || isSuspect(f); });
            if (after != findings.cend() && (!next.isValid() || before(after->row, column, next)))
                next = {after->row, column};
            return;
        }
        const int to = column < place.column ? place.row : place.row - 1;
        const auto last = std::find_if(findings.crbegin(), findings.crend(),
                                       [all](const Finding& f) { return all || isSuspect(f); });
        if (last != findings.crend() &&
            (!end.isValid() || before(end.row, end.column, {last->row, column})))
            end = {last->row, column};
        const auto upTo = std::make_reverse_iterator(firstFrom(findings, to + 1));
        const auto previous = std::find_if(upTo, findings.crend(),
                                           [all](const Finding& f) { return all || isSuspect(f); });
        if (previous != findings.crend() &&
            (!next.isValid() || before(next.row, next.column, {previous->row, column})))
            next = {previous->row, column};
    };
    consider(dated, Place::dateColumn, true);
    for (int c = 0; c < columns; ++c) {
        if (shown.value(c))
            consider(marked.at(c), c, false);
    }
    *wrapped = !next.isValid() && end.isValid();
    return next.isValid() ? next : end;
}

void SuspectCells::findAll()
{
    marked.fill(QVector<Finding>(), columns);
    suspects.fill(0, columns);
    dated.clear();
    times.clear();
    steps.clear();
    if (!model)
        return;
    const int rows = model->rowCount();
    times.resize(rows);
    for (int r = 0; r < rows; ++r)
        times[r] = rowTime ? rowTime(r) : Quality::undated;
    countSteps(0, rows - 1, 1);
    usual = Quality::mostFrequentStep(steps);
    for (int c = 0; c < columns; ++c)
        examineInStretches(c);
    dated = Quality::examineDates(times, 0, rows - 1, usual);
    emit changed();
}

// The findings of rows firstRow to lastRow, and of what their change moves: the neighbours'
// spikes and counter steps, and whole runs of a value.
void SuspectCells::examineColumn(int column, int firstRow, int lastRow)
{
    const int rows = model->rowCount();
    int from = qMax(0, firstRow - 1);
    int to = qMin(rows - 1, lastRow + 1);
    if (from > to)
        return;
    if (Quality::watchesPersistence(layout.fields[column])) {
        while (from > 0 && sameAsNext(column, from - 1))
            --from;
        while (to + 1 < rows && sameAsNext(column, to))
            ++to;
    }
    examineRows(column, from, to);
}

// The whole column a stretch of rows after another, each ending where a run of equal values
// ends, so that a history of millions of rows needs no copy of a whole column's numbers.
void SuspectCells::examineInStretches(int column)
{
    constexpr int stretch = 1 << 16;
    const int rows = model->rowCount();
    const bool runsMatter = Quality::watchesPersistence(layout.fields[column]);
    for (int from = 0; from < rows;) {
        int to = qMin(rows - 1, from + stretch - 1);
        while (runsMatter && to + 1 < rows && sameAsNext(column, to))
            ++to;
        examineRows(column, from, to);
        from = to + 1;
    }
}

// Rows from to to, whose runs of equal values lie wholly inside.
void SuspectCells::examineRows(int column, int from, int to)
{
    if (from > to)
        return;
    Quality::Stretch stretch;
    stretch.firstRow = qMax(0, from - 1);
    const int last = qMin(model->rowCount() - 1, to + 1);
    readStretch(column, stretch.firstRow, last, stretch.values, stretch.kinds);
    if (column == gustColumn && windColumn >= 0)
        readStretch(windColumn, stretch.firstRow, last, stretch.winds, stretch.windKinds);
    replace(marked[column], from, to,
            Quality::examineColumn(layout.fields[column], stretch, from, to, times),
            &suspects[column]);
}

// The rows' dates, and the next dated row's, which is measured against the last of them.
void SuspectCells::examineDates(int firstRow, int lastRow)
{
    const int rows = times.size();
    const int from = qMax(0, firstRow);
    int to = qMax(lastRow + 1, from);
    while (to < rows && times.at(to) < 0)
        ++to;
    to = qMin(to, rows - 1);
    if (from > to)
        return;
    int ignored = 0;
    replace(dated, from, to, Quality::examineDates(times, from, to, usual), &ignored);
}

// Counts (sign 1) or takes back (sign -1) the steps that rows firstRow to lastRow take part in,
// from the dated row above them to the dated row below, as the times say now.
void SuspectCells::countSteps(int firstRow, int lastRow, int sign)
{
    int above = firstRow - 1;
    while (above >= 0 && times.at(above) < 0)
        --above;
    qint64 previous = above >= 0 ? times.at(above) : Quality::undated;
    const auto count = [&](qint64 time) {
        if (time < 0)
            return;
        if (previous >= 0 && time > previous) {
            const qint64 step = time - previous;
            steps[step] += sign;
            if (steps.value(step) == 0)
                steps.remove(step);
        }
        previous = time;
    };
    for (int r = qMax(0, firstRow); r <= lastRow; ++r)
        count(times.at(r));
    int below = lastRow + 1;
    while (below < times.size() && times.at(below) < 0)
        ++below;
    if (below < times.size())
        count(times.at(below));
}

// A change of the usual interval moves the gap limit of every row.
void SuspectCells::followUsualInterval()
{
    const qint64 now = Quality::mostFrequentStep(steps);
    if (now == usual)
        return;
    usual = now;
    examineDates(0, times.size() - 1);
}

void SuspectCells::readStretch(int column, int firstRow, int lastRow, QVector<double>& values,
                               QVector<Kind>& kinds) const
{
    const Format::Field& field = layout.fields[column];
    const int count = lastRow - firstRow + 1;
    values.resize(count);
    kinds.resize(count);
    QVector<bool> isNumber(count);
    model->readNumbers(column, firstRow, count, values.data(), isNumber.data());
    for (int i = 0; i < count; ++i)
        kinds[i] = !isNumber.at(i)                 ? Kind::NotANumber
                   : isNoData(field, values.at(i)) ? Kind::NoData
                                                   : Kind::Reading;
}

bool SuspectCells::sameAsNext(int column, int row) const
{
    double values[2];
    bool isNumber[2];
    model->readNumbers(column, row, 2, values, isNumber);
    const Format::Field& field = layout.fields[column];
    return isNumber[0] && isNumber[1] && values[0] == values[1] && !isNoData(field, values[0]);
}

// Puts found in the place of the findings of rows firstRow to lastRow, and counts the suspects.
void SuspectCells::replace(QVector<Finding>& findings, int firstRow, int lastRow,
                           const QVector<Finding>& found, int* suspectCount)
{
    const int start = int(firstFrom(findings, firstRow) - findings.cbegin());
    const int end = int(firstFrom(findings, lastRow + 1) - findings.cbegin());
    *suspectCount -=
        int(std::count_if(findings.cbegin() + start, findings.cbegin() + end, isSuspect));
    *suspectCount += int(std::count_if(found.cbegin(), found.cend(), isSuspect));
    const int grow = found.size() - (end - start);
    if (grow > 0)
        findings.insert(start, grow, Finding{});
    else if (grow < 0)
        findings.remove(start, -grow);
    std::copy(found.cbegin(), found.cend(), findings.begin() + start);
}

void SuspectCells::followInsertedRows(const QModelIndex&, int first, int last)
{
    const int inserted = last - first + 1;
    for (QVector<Finding>& findings : marked)
        shiftRows(findings, first, inserted);
    shiftRows(dated, first, inserted);
    times.insert(first, inserted, Quality::undated);
    countSteps(first, last, -1);
    for (int r = first; r <= last; ++r)
        times[r] = rowTime ? rowTime(r) : Quality::undated;
    countSteps(first, last, 1);
    for (int c = 0; c < columns; ++c)
        examineColumn(c, first, last);
    examineDates(first, last);
    followUsualInterval();
    emit changed();
}

void SuspectCells::followRemovedRows(const QModelIndex&, int first, int last)
{
    const int removed = last - first + 1;
    for (int c = 0; c < columns; ++c) {
        replace(marked[c], first, last, {}, &suspects[c]);
        shiftRows(marked[c], last + 1, -removed);
    }
    int ignored = 0;
    replace(dated, first, last, {}, &ignored);
    shiftRows(dated, last + 1, -removed);
    countSteps(first, last, -1);
    times.remove(first, removed);
    countSteps(first, first - 1, 1);
    for (int c = 0; c < columns; ++c)
        examineColumn(c, first, first - 1);
    examineDates(first, first - 1);
    followUsualInterval();
    emit changed();
}

void SuspectCells::followChangedCells(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    const int firstColumn = qMax(0, topLeft.column());
    const int lastColumn = qMin(columns - 1, bottomRight.column());
    for (int c = firstColumn; c <= lastColumn; ++c)
        examineColumn(c, topLeft.row(), bottomRight.row());
    const bool windOnly = windColumn >= firstColumn && windColumn <= lastColumn &&
                          (gustColumn < firstColumn || gustColumn > lastColumn);
    if (windOnly && gustColumn >= 0)
        examineColumn(gustColumn, topLeft.row(), bottomRight.row());
    emit changed();
}

// A row's date moves the date rules and the length of the runs it lies in.
void SuspectCells::followChangedLabels(Qt::Orientation orientation, int first, int last)
{
    if (orientation != Qt::Vertical)
        return;
    first = qMax(0, first);
    last = qMin(times.size() - 1, last);
    countSteps(first, last, -1);
    for (int r = first; r <= last; ++r)
        times[r] = rowTime ? rowTime(r) : Quality::undated;
    countSteps(first, last, 1);
    for (int c = 0; c < columns; ++c) {
        if (Quality::watchesPersistence(layout.fields[c]))
            examineColumn(c, first, last);
    }
    examineDates(first, last);
    followUsualInterval();
    emit changed();
}
