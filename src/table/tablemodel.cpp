#include "table/tablemodel.h"

#include <algorithm>
#include <limits>

namespace
{

// The part of [position, position + count) that lies inside [0, size), as its first index and
// its length; a length of 0 when nothing does.
std::pair<int, int> clampedRange(int position, int count, int size)
{
    if (position < 0 || position >= size || count <= 0)
        return {position, 0};
    return {position, qMin(count, size - position)};
}

bool comesBefore(const TableModel::Put& put, int row, int column)
{
    return put.row < row || (put.row == row && put.column < column);
}

bool sameCell(const TableModel::Put& put, const TableModel::Put& other)
{
    return put.row == other.row && put.column == other.column;
}

} // namespace

TableModel::TableModel(int rows, int columns, QObject* parent) : QAbstractTableModel(parent)
{
    shape(rows, columns);
}

void TableModel::resetTable(int rowCount, int columns, const Source* rowSource)
{
    beginResetModel();
    shape(rowCount, columns);
    source = rowSource;
    putTexts.clear();
    labelMarks = {};
    previousText.clear();
    endResetModel();
}

void TableModel::shape(int rowCount, int columns)
{
    rows = qMax(rowCount, 1);
    columns = qMax(columns, 1);
    horizontalHeaders.clear();
    horizontalHeaders.reserve(columns);
    for (int c = 0; c < columns; ++c)
        horizontalHeaders.append(QLatin1String(""));
}

// What a table keeps per row in one vector, at most: a finding of the quality rules.
qint64 TableModel::maximumRows()
{
    const qint64 block = std::numeric_limits<int>::max() - 64;
    return block / 16;
}

int TableModel::rowCount(const QModelIndex&) const
{
    return rows;
}

// The column labels tell how wide a row is, even when every row has been removed.
int TableModel::columnCount(const QModelIndex&) const
{
    return horizontalHeaders.size();
}

bool TableModel::isCell(const QModelIndex& index) const
{
    return index.isValid() && index.row() >= 0 && index.row() < rowCount() && index.column() >= 0 &&
           index.column() < columnCount();
}

QVector<TableModel::Put>::iterator TableModel::putsFrom(int row, int column)
{
    return std::lower_bound(putTexts.begin(), putTexts.end(), 0,
                            [=](const Put& put, int) { return comesBefore(put, row, column); });
}

QVector<TableModel::Put>::const_iterator TableModel::putsFrom(int row, int column) const
{
    return std::lower_bound(putTexts.cbegin(), putTexts.cend(), 0,
                            [=](const Put& put, int) { return comesBefore(put, row, column); });
}

const QString* TableModel::findPut(int row, int column) const
{
    if (putTexts.isEmpty())
        return nullptr;
    const auto at = putsFrom(row, column);
    return at != putTexts.cend() && at->row == row && at->column == column ? &at->text : nullptr;
}

void TableModel::sourceChars(int row, int column, TextFormat::Chars& text) const
{
    if (!source)
        return;
    if (column == Put::labelColumn)
        source->labelChars(row, text);
    else
        source->cellChars(row, column, text);
}

bool TableModel::sourceShows(int row, int column, QStringView text) const
{
    TextFormat::Chars own;
    sourceChars(row, column, own);
    return own.view() == text;
}

QString TableModel::cellText(int row, int column) const
{
    if (const QString* put = findPut(row, column))
        return *put;
    TextFormat::Chars text;
    sourceChars(row, column, text);
    return text.toString();
}

void TableModel::appendCellText(QString& line, int row, int column) const
{
    if (const QString* put = findPut(row, column)) {
        line += *put;
        return;
    }
    TextFormat::Chars text;
    sourceChars(row, column, text);
    line.append(text.view().data(), text.size());
}

bool TableModel::cellShows(int row, int column, QStringView text) const
{
    if (const QString* put = findPut(row, column))
        return QStringView(*put) == text;
    TextFormat::Chars own;
    sourceChars(row, column, own);
    return own.view() == text;
}

QString TableModel::labelText(int row) const
{
    return cellText(row, Put::labelColumn);
}

void TableModel::appendLabelText(QString& line, int row) const
{
    appendCellText(line, row, Put::labelColumn);
}

bool TableModel::labelShows(int row, QStringView text) const
{
    return cellShows(row, Put::labelColumn, text);
}

qint64 TableModel::labelKey(int row) const
{
    qint64 key = -1;
    readLabelKeys(row, 1, &key);
    return key;
}

void TableModel::readLabelKeys(int firstRow, int count, qint64* keys) const
{
    if (source)
        source->readLabelKeys(firstRow, count, keys);
    else
        std::fill_n(keys, count, qint64(-1));
    const auto end = putsFrom(firstRow + count);
    for (auto put = putsFrom(firstRow); put != end; ++put) {
        if (put->column == Put::labelColumn)
            keys[put->row - firstRow] = TextFormat::labelKey(put->text);
    }
}

void TableModel::readNumbers(int column, int firstRow, int count, double* numbers,
                             bool* isNumber) const
{
    if (source) {
        source->readNumbers(column, firstRow, count, numbers, isNumber);
    } else {
        std::fill_n(numbers, count, 0.0);
        std::fill_n(isNumber, count, false);
    }
    const auto end = putsFrom(firstRow + count);
    for (auto put = putsFrom(firstRow); put != end; ++put) {
        if (put->column == column)
            numbers[put->row - firstRow] =
                TextFormat::number(put->text, &isNumber[put->row - firstRow]);
    }
}

QVector<TableModel::Put> TableModel::putsOfRows(const QVector<int>& rowList) const
{
    QVector<Put> found;
    if (putTexts.isEmpty())
        return found;
    for (const int row : rowList) {
        for (auto put = putsFrom(row); put != putTexts.cend() && put->row == row; ++put)
            found.append(*put);
    }
    return found;
}

void TableModel::putText(int row, int column, const QString& text)
{
    const Put put{row, column, text};
    const auto at = putsFrom(row, column);
    const bool found = at != putTexts.end() && sameCell(*at, put);
    if (sourceShows(row, column, text)) {
        if (found)
            putTexts.erase(at);
    } else if (found) {
        at->text = text;
    } else {
        putTexts.insert(at, put);
    }
}

// One pass over the texts put and the sorted batch, so that a hundred thousand cells cost as
// little in any order.
void TableModel::putAll(QVector<Put> batch)
{
    const auto inOrder = [](const Put& put, const Put& other) {
        return comesBefore(put, other.row, other.column);
    };
    if (batch.isEmpty())
        return;
    if (!std::is_sorted(batch.cbegin(), batch.cend(), inOrder))
        std::stable_sort(batch.begin(), batch.end(), inOrder);
    QVector<Put> merged;
    merged.reserve(putTexts.size() + batch.size());
    auto kept = putTexts.begin();
    for (int i = 0; i < batch.size(); ++i) {
        Put& put = batch[i];
        if (i + 1 < batch.size() && sameCell(put, batch.at(i + 1)))
            continue;
        while (kept != putTexts.end() && comesBefore(*kept, put.row, put.column))
            merged.append(std::move(*kept++));
        if (kept != putTexts.end() && sameCell(*kept, put))
            ++kept;
        if (!put.text.isNull())
            merged.append(std::move(put));
    }
    while (kept != putTexts.end())
        merged.append(std::move(*kept++));
    putTexts = std::move(merged);
}

void TableModel::shiftPuts(int fromRow, int by)
{
    for (auto put = putsFrom(fromRow); put != putTexts.end(); ++put)
        put->row += by;
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!isCell(index))
        return QVariant();
    if (role == Qt::DisplayRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return QVariant();
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isCell(index) || role != Qt::EditRole)
        return false;
    previousText = cellText(index.row(), index.column());
    putText(index.row(), index.column(), value.toString());
    emit dataChanged(index, index, QVector<int>());
    return true;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && labelMarks && role != Qt::DisplayRole && section >= 0 &&
        section < rowCount())
        return labelMarks(section, role);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return horizontalHeaders.value(section);
    if (section < 0 || section >= rowCount())
        return QVariant();
    return labelText(section);
}

bool TableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                               int role)
{
    const int sections = orientation == Qt::Horizontal ? columnCount() : rowCount();
    if (role != Qt::EditRole || section < 0 || section >= sections)
        return false;
    if (orientation == Qt::Horizontal)
        horizontalHeaders[section] = value.toString();
    else
        putText(section, Put::labelColumn, value.toString());
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool TableModel::insertRows(int position, int count, const QModelIndex&)
{
    return insertRowsWith(position, count, {});
}

bool TableModel::insertRowsWith(int position, int count, const QVector<Put>& rowPuts)
{
    if (position < 0 || position > rowCount() || count <= 0)
        return false;
    beginInsertRows(QModelIndex(), position, position + count - 1);
    shiftPuts(position, count);
    rows += count;
    if (!rowPuts.isEmpty())
        putAll(rowPuts);
    endInsertRows();
    return true;
}

void TableModel::announceCells(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn), QVector<int>());
}

void TableModel::announceLabels(int firstRow, int lastRow)
{
    emit headerDataChanged(Qt::Vertical, firstRow, lastRow);
}

// Rows past the end are skipped: only the part of the range inside the table is removed and
// announced.
bool TableModel::removeRows(int position, int count, const QModelIndex& parent)
{
    const auto [first, removed] = clampedRange(position, count, rowCount());
    if (removed == 0)
        return true;
    beginRemoveRows(parent, first, first + removed - 1);
    putTexts.erase(putsFrom(first), putsFrom(first + removed));
    shiftPuts(first, -removed);
    rows -= removed;
    endRemoveRows();
    return true;
}

bool TableModel::insertColumns(int position, int count, const QModelIndex& parent)
{
    if (source || position < 0 || position > columnCount() || count <= 0)
        return false;
    beginInsertColumns(parent, position, position + count - 1);
    for (int i = 0; i < count; ++i)
        horizontalHeaders.insert(position, QLatin1String(""));
    for (Put& put : putTexts)
        put.column += put.column >= position ? count : 0;
    endInsertColumns();
    return true;
}

bool TableModel::removeColumns(int position, int count, const QModelIndex& parent)
{
    const auto [first, removed] = clampedRange(position, count, columnCount());
    if (removed == 0)
        return true;
    if (source)
        return false;
    beginRemoveColumns(parent, first, first + removed - 1);
    horizontalHeaders.erase(horizontalHeaders.begin() + first,
                            horizontalHeaders.begin() + first + removed);
    putTexts.erase(std::remove_if(putTexts.begin(), putTexts.end(),
                                  [first = first, end = first + removed](const Put& put) {
                                      return put.column >= first && put.column < end;
                                  }),
                   putTexts.end());
    for (Put& put : putTexts)
        put.column -= put.column >= first + removed ? removed : 0;
    endRemoveColumns();
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    if (!isCell(index))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

bool TableModel::removeExtraRows()
{
    if (rowCount() > 1)
        removeRows(1, rowCount() - 1, QModelIndex());
    return true;
}

bool TableModel::setHeaderLabels(int orientation, const QVariant& labels, int role)
{
    if (role != Qt::EditRole)
        return false;
    if (orientation != Qt::Horizontal && orientation != Qt::Vertical)
        return true;
    const QStringList given = labels.toStringList();
    const Qt::Orientation side = Qt::Orientation(orientation);
    const int sections = side == Qt::Horizontal ? columnCount() : rowCount();
    if (given.size() != sections)
        return false;
    for (int i = 0; i < sections; ++i)
        setHeaderData(i, side, given.at(i), Qt::EditRole);
    return true;
}
