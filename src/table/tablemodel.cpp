#include "table/tablemodel.h"

namespace
{

QStringList emptyTexts(int count)
{
    QStringList texts;
    texts.reserve(count);
    const QString empty(QLatin1String(""));
    for (int i = 0; i < count; ++i)
        texts.append(empty);
    return texts;
}

// Removes up to count items from position on; the part of the range past the end is skipped.
template <typename List> void removeRange(List& list, int position, int count)
{
    if (position < 0 || position >= list.size() || count <= 0)
        return;
    const int end = qMin(list.size(), position + count);
    list.erase(list.begin() + position, list.begin() + end);
}

bool isCellIndex(const QModelIndex& index)
{
    return index.isValid() && index.row() >= 0 && index.column() >= 0;
}

} // namespace

TableModel::TableModel(int rows, int columns, QObject* parent) : QAbstractTableModel(parent)
{
    rows = qMax(rows, 1);
    columns = qMax(columns, 1);
    horizontalHeaders = emptyTexts(columns);
    const QStringList emptyRow = emptyTexts(columns);
    cells.reserve(rows);
    for (int r = 0; r < rows; ++r)
        cells.append(emptyRow);
    verticalHeaders = emptyTexts(rows);
}

int TableModel::rowCount(const QModelIndex&) const
{
    return cells.size();
}

// With every row removed, the column labels still tell how wide a new row must be.
int TableModel::columnCount(const QModelIndex&) const
{
    return cells.isEmpty() ? horizontalHeaders.size() : cells.first().size();
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!isCellIndex(index))
        return QVariant();
    if (role == Qt::DisplayRole)
        return cells.at(index.row()).at(index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return QVariant();
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isCellIndex(index) || role != Qt::EditRole)
        return false;
    QString& cell = cells[index.row()][index.column()];
    previousText = cell;
    cell = value.toString();
    emit dataChanged(index, index, QVector<int>());
    return true;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    return orientation == Qt::Horizontal ? horizontalHeaders.at(section)
                                         : verticalHeaders.at(section);
}

bool TableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                               int role)
{
    if (role != Qt::EditRole)
        return false;
    QStringList& labels = orientation == Qt::Horizontal ? horizontalHeaders : verticalHeaders;
    labels[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool TableModel::insertRows(int position, int count, const QModelIndex& parent)
{
    const QStringList emptyRow = emptyTexts(columnCount());
    beginInsertRows(parent, position, position + count - 1);
    for (int i = 0; i < count; ++i) {
        cells.insert(position, emptyRow);
        verticalHeaders.insert(position, QLatin1String(""));
    }
    endInsertRows();
    return true;
}

bool TableModel::removeRows(int position, int count, const QModelIndex& parent)
{
    beginRemoveRows(parent, position, position + count - 1);
    removeRange(cells, position, count);
    removeRange(verticalHeaders, position, count);
    endRemoveRows();
    return true;
}

bool TableModel::insertColumns(int position, int count, const QModelIndex& parent)
{
    beginInsertColumns(parent, position, position + count - 1);
    for (int i = 0; i < count; ++i)
        horizontalHeaders.insert(position, QLatin1String(""));
    for (QStringList& row : cells) {
        for (int i = 0; i < count; ++i)
            row.insert(position, QLatin1String(""));
    }
    endInsertColumns();
    return true;
}

bool TableModel::removeColumns(int position, int count, const QModelIndex& parent)
{
    beginRemoveColumns(parent, position, position + count - 1);
    removeRange(horizontalHeaders, position, count);
    for (QStringList& row : cells)
        removeRange(row, position, count);
    endRemoveColumns();
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    if (!isCellIndex(index))
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
    const QStringList texts = labels.toStringList();
    const Qt::Orientation side = Qt::Orientation(orientation);
    const int sections = side == Qt::Horizontal ? columnCount() : rowCount();
    if (texts.size() != sections)
        return false;
    for (int i = 0; i < sections; ++i)
        setHeaderData(i, side, texts.at(i), Qt::EditRole);
    return true;
}
