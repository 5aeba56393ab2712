#include "table/tablemodel.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace
{

// The text of cells and labels that the model creates: empty, but not null.
const QString& emptyText()
{
    static const QString empty(QLatin1String(""));
    return empty;
}

// The part of [position, position + count) that lies inside [0, size), as its first index and
// its length; a length of 0 when nothing does.
std::pair<int, int> clampedRange(int position, int count, int size)
{
    if (position < 0 || position >= size || count <= 0)
        return {position, 0};
    return {position, qMin(count, size - position)};
}

} // namespace

TableModel::TableModel(int rows, int columns, QObject* parent) : QAbstractTableModel(parent)
{
    rows = qMax(rows, 1);
    columns = qMax(columns, 1);
    horizontalHeaders.reserve(columns);
    for (int c = 0; c < columns; ++c)
        horizontalHeaders.append(emptyText());
    texts.fill(emptyText(), rows * slotWidth());
    labels.resize(rows);
    rowSlots.resize(rows);
    for (int r = 0; r < rows; ++r)
        rowSlots[r] = r;
}

qint64 TableModel::maximumRows(int columns)
{
    // What a block needs besides its elements, with room to spare.
    const qint64 block = std::numeric_limits<int>::max() - 64;
    return qMin(block / (qMax(columns, 1) * qint64(sizeof(QString))),
                block / qint64(sizeof(Label)));
}

int TableModel::rowCount(const QModelIndex&) const
{
    return rowSlots.size();
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

QString& TableModel::text(int row, int column)
{
    return texts[rowSlots.at(row) * slotWidth() + column];
}

const QString& TableModel::text(int row, int column) const
{
    return texts.at(rowSlots.at(row) * slotWidth() + column);
}

QString TableModel::label(int row) const
{
    const int slot = rowSlots.at(row);
    const Label& stored = labels.at(slot);
    if (stored.size < 0)
        return longLabels.value(slot);
    return QString::fromLatin1(stored.latin1.data(), stored.size);
}

void TableModel::setLabel(int row, const QString& text)
{
    const int slot = rowSlots.at(row);
    Label& stored = labels[slot];
    const bool fits =
        text.size() <= int(stored.latin1.size()) &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (!fits) {
        stored.size = -1;
        longLabels.insert(slot, text);
        return;
    }
    longLabels.remove(slot);
    stored.size = qint8(text.size());
    std::transform(text.begin(), text.end(), stored.latin1.begin(),
                   [](QChar c) { return char(c.unicode()); });
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!isCell(index))
        return QVariant();
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return QVariant();
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!isCell(index) || role != Qt::EditRole)
        return false;
    QString& cell = text(index.row(), index.column());
    previousText = cell;
    cell = value.toString();
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
    return label(section);
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
        setLabel(section, value.toString());
    emit headerDataChanged(orientation, section, section);
    return true;
}

int TableModel::takeSlot()
{
    if (!freeSlots.isEmpty())
        return freeSlots.takeLast();
    texts.insert(texts.size(), slotWidth(), emptyText());
    labels.append(Label());
    return labels.size() - 1;
}

void TableModel::releaseSlot(int slot)
{
    std::fill_n(texts.begin() + slot * slotWidth(), slotWidth(), emptyText());
    labels[slot] = Label();
    longLabels.remove(slot);
    freeSlots.append(slot);
}

bool TableModel::insertRows(int position, int count, const QModelIndex& parent)
{
    if (position < 0 || position > rowCount() || count <= 0)
        return false;
    beginInsertRows(parent, position, position + count - 1);
    rowSlots.insert(position, count, 0);
    for (int i = 0; i < count; ++i)
        rowSlots[position + i] = takeSlot();
    endInsertRows();
    return true;
}

bool TableModel::insertFilledRows(int position, const QStringList& rowLabels,
                                  const QVector<QString>& cells)
{
    const int count = rowLabels.size();
    if (position < 0 || position > rowCount() || count <= 0 ||
        cells.size() != count * columnCount())
        return false;
    beginInsertRows(QModelIndex(), position, position + count - 1);
    rowSlots.insert(position, count, 0);
    for (int i = 0; i < count; ++i) {
        rowSlots[position + i] = takeSlot();
        setLabel(position + i, rowLabels.at(i));
        std::copy_n(cells.cbegin() + i * columnCount(), columnCount(),
                    texts.begin() + rowSlots.at(position + i) * slotWidth());
    }
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
    for (int r = first; r < first + removed; ++r)
        releaseSlot(rowSlots.at(r));
    rowSlots.remove(first, removed);
    // Emptied, the table gives its blocks back: clear() would keep their room.
    if (rowSlots.isEmpty()) {
        texts = QVector<QString>();
        labels = QVector<Label>();
        freeSlots = QVector<int>();
        rowSlots = QVector<int>();
    }
    endRemoveRows();
    return true;
}

bool TableModel::insertColumns(int position, int count, const QModelIndex& parent)
{
    if (position < 0 || position > columnCount() || count <= 0)
        return false;
    beginInsertColumns(parent, position, position + count - 1);
    const int oldWidth = slotWidth();
    for (int i = 0; i < count; ++i)
        horizontalHeaders.insert(position, emptyText());
    QVector<QString> widened;
    widened.reserve(labels.size() * slotWidth());
    for (int slot = 0; slot < labels.size(); ++slot) {
        const auto cells = texts.cbegin() + slot * oldWidth;
        std::copy(cells, cells + position, std::back_inserter(widened));
        widened.insert(widened.size(), count, emptyText());
        std::copy(cells + position, cells + oldWidth, std::back_inserter(widened));
    }
    texts = widened;
    endInsertColumns();
    return true;
}

bool TableModel::removeColumns(int position, int count, const QModelIndex& parent)
{
    const auto [first, removed] = clampedRange(position, count, columnCount());
    if (removed == 0)
        return true;
    beginRemoveColumns(parent, first, first + removed - 1);
    const int oldWidth = slotWidth();
    horizontalHeaders.erase(horizontalHeaders.begin() + first,
                            horizontalHeaders.begin() + first + removed);
    QVector<QString> narrowed;
    narrowed.reserve(labels.size() * slotWidth());
    for (int slot = 0; slot < labels.size(); ++slot) {
        const auto cells = texts.cbegin() + slot * oldWidth;
        std::copy(cells, cells + first, std::back_inserter(narrowed));
        std::copy(cells + first + removed, cells + oldWidth, std::back_inserter(narrowed));
    }
    texts = narrowed;
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
