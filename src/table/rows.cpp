#include "app/fenprincipale.h"
#include "table/operations.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QUndoStack>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{
const QString newRowLabel = QStringLiteral("--/--/---- --:--");
const QString newCellText = QStringLiteral("--");
} // namespace

// Inserts a record of zero bytes below the current row, or at the top when no cell is current.
void FenPrincipale::addRow()
{
    if (!hasDocument())
        return;
    const QModelIndex current = tableView->currentIndex();
    const int position = qMin(current.isValid() ? current.row() + 1 : 0, recordCount);
    if (!resizeRecordBuffer(qint64(recordCount) + 1)) {
        showError(QStringLiteral("Mémoire insuffisante"));
        return;
    }
    undoStack->push(new RowInsertion(*this, position));
}

// Removes the records of the whole selected rows, in the buffer and in the table alike.
void FenPrincipale::removeRow()
{
    if (!hasDocument())
        return;
    const QVector<int> rows = recordRowsToRemove();
    if (!rows.isEmpty())
        undoStack->push(new RowRemoval(*this, rows));
}

// A record of zero bytes at position, and its row, whose placeholders are no values: they pass no
// gate and reach no record. A file without records shows one row that holds none: the record
// takes that row's place.
void FenPrincipale::insertRecordRow(int position)
{
    if (!resizeRecordBuffer(qint64(recordCount) + 1)) {
        abandonHistory();
        return;
    }
    const bool replacesEmptyRow = model->rowCount() != recordCount;
    insertRecord(position);
    if (replacesEmptyRow) {
        model->removeRows(0, 1, QModelIndex());
        position = 0;
    }
    QVector<TableModel::Put> placeholders{{position, TableModel::Put::labelColumn, newRowLabel}};
    for (int column = 0; column < model->columnCount(); ++column)
        placeholders.append({position, column, newCellText});
    model->insertRowsWith(position, 1, placeholders);
    showRecordCount();
}

// Removes the records of rows, ascending, and their rows. The selection covers the rows that go
// or lies elsewhere; dropped first, it need not follow each of the runs below. Each run of
// adjacent rows leaves the table in one step, from the bottom up, so that the rows of the runs
// above keep their numbers. The records kept below a run move down against the end of the buffer
// as their run goes, so that each record moves once on the way and once when the hole closes.
void FenPrincipale::removeRecordRows(const QVector<int>& rows)
{
    tableView->clearSelection();
    const qint64 size = Format::layout(documentType).recordSize;
    char* buffer = recordBuffers[int(documentType)];
    const qint64 total = recordCount;
    qint64 tail = total;
    qint64 below = total;
    for (int end = rows.size(); end > 0;) {
        int start = end - 1;
        while (start > 0 && rows.at(start - 1) == rows.at(start) - 1)
            --start;
        const qint64 runEnd = rows.at(end - 1) + 1;
        const qint64 kept = below - runEnd;
        std::memmove(buffer + (tail - kept) * size, buffer + runEnd * size, size_t(kept * size));
        tail -= kept;
        below = rows.at(start);
        holeRow = rows.at(start);
        holeSize = tail - holeRow;
        recordCount -= end - start;
        model->removeRows(rows.at(start), end - start, QModelIndex());
        end = start;
    }
    std::memmove(buffer + holeRow * size, buffer + tail * size, size_t((total - tail) * size));
    holeRow = 0;
    holeSize = 0;
    resizeRecordBuffer(recordCount);
    removeRowsAction->setEnabled(false);
    showRecordCount();
}

// Puts removed records back at rows, ascending, with their bytes and the texts put into them:
// the records kept move up against the end of the buffer first, then back down run by run as the
// table gets each run of adjacent rows in one step, from the top down, so that each run lands on
// its own rows and every row finds its record at each step.
void FenPrincipale::restoreRecordRows(const QVector<int>& rows, const QByteArray& records,
                                      const QVector<TableModel::Put>& puts)
{
    if (!resizeRecordBuffer(qint64(recordCount) + rows.size())) {
        abandonHistory();
        return;
    }
    const qint64 size = Format::layout(documentType).recordSize;
    char* buffer = recordBuffers[int(documentType)];
    qint64 tail = rows.size();
    std::memmove(buffer + tail * size, buffer, size_t(recordCount * size));
    holeRow = 0;
    holeSize = tail;
    qint64 above = 0;
    auto runPuts = puts.cbegin();
    for (int start = 0; start < rows.size();) {
        int end = start + 1;
        while (end < rows.size() && rows.at(end) == rows.at(end - 1) + 1)
            ++end;
        const qint64 first = rows.at(start);
        const qint64 kept = first - above;
        std::memmove(buffer + above * size, buffer + tail * size, size_t(kept * size));
        tail += kept;
        std::memcpy(buffer + first * size, records.constData() + start * size,
                    size_t((end - start) * size));
        above = first + (end - start);
        holeRow = int(above);
        holeSize = tail - above;
        recordCount += end - start;
        const auto runEnd = std::find_if(
            runPuts, puts.cend(), [&](const TableModel::Put& put) { return put.row >= above; });
        model->insertRowsWith(int(first), end - start, QVector<TableModel::Put>(runPuts, runEnd));
        runPuts = runEnd;
        start = end;
    }
    holeRow = 0;
    holeSize = 0;
    showRecordCount();
}

// The rows whose every cell is selected, in ascending order whatever order they were picked in,
// leaving out a row that holds no record.
QVector<int> FenPrincipale::recordRowsToRemove() const
{
    QVector<int> rows;
    for (const QModelIndex& index : tableView->selectionModel()->selectedRows(0)) {
        if (index.row() < recordCount)
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The most records a document of the type can hold: the table must show them all, and the
// history keep a copy of them all, as the removal of every row does, in one Qt block of at most
// INT_MAX bytes.
qint64 FenPrincipale::maximumRecords(Format::DataFileType type)
{
    const qint64 block = std::numeric_limits<int>::max() - 64;
    return qMin(TableModel::maximumRows(), block / Format::layout(type).recordSize);
}

// Gives the record buffer room for records records, or leaves it as it was and says so. A
// buffer of no record keeps one byte, so that a document without records still has one. The
// table must be able to show them all too.
bool FenPrincipale::resizeRecordBuffer(qint64 records)
{
    const Format::RecordLayout& layout = Format::layout(documentType);
    if (records > maximumRecords(documentType))
        return false;
    char*& buffer = recordBuffers[int(documentType)];
    const qint64 bytes = records * layout.recordSize;
    char* resized = static_cast<char*>(std::realloc(buffer, size_t(qMax<qint64>(bytes, 1))));
    if (!resized)
        return false;
    buffer = resized;
    return true;
}

// Opens a zeroed record at position in a buffer that already has room for it.
void FenPrincipale::insertRecord(int position)
{
    const qint64 size = Format::layout(documentType).recordSize;
    char* slot = recordBuffers[int(documentType)] + position * size;
    std::memmove(slot + size, slot, size_t((recordCount - position) * size));
    std::memset(slot, 0, size_t(size));
    ++recordCount;
}

// The rows added and never dated, which have no timestamp to be saved with, in table order. A
// record read with a date that its label cannot show is the file's own, and no concern here.
// Only a text put into a label can be a placeholder.
QVector<int> FenPrincipale::undatedRows() const
{
    QVector<int> rows;
    for (const TableModel::Put& put : model->puts()) {
        if (put.row < recordRows() && put.column == TableModel::Put::labelColumn &&
            put.text == newRowLabel)
            rows.append(put.row);
    }
    return rows;
}

// The cells of added rows that no value was typed into, whose fields still hold zero bytes.
qint64 FenPrincipale::placeholderCells() const
{
    return std::count_if(
        model->puts().cbegin(), model->puts().cend(), [this](const TableModel::Put& put) {
            return put.row < recordRows() && put.column != TableModel::Put::labelColumn &&
                   put.text == newCellText;
        });
}

// Once saved as 0, the values never typed into added rows show what the file holds, as they will
// when it is opened again. They pass no gate: they are the record's own.
void FenPrincipale::showSavedPlaceholders()
{
    QVector<TableModel::Put> saved;
    int firstRow = INT_MAX, lastRow = -1, firstColumn = INT_MAX, lastColumn = -1;
    for (const TableModel::Put& put : model->puts()) {
        if (put.row < recordRows() && put.column != TableModel::Put::labelColumn &&
            put.text == newCellText) {
            saved.append({put.row, put.column, QString()});
            firstRow = qMin(firstRow, put.row);
            lastRow = qMax(lastRow, put.row);
            firstColumn = qMin(firstColumn, put.column);
            lastColumn = qMax(lastColumn, put.column);
        }
    }
    if (saved.isEmpty())
        return;
    model->putAll(std::move(saved));
    recordEdits = false;
    model->announceCells(firstRow, lastRow, firstColumn, lastColumn);
    recordEdits = true;
}

// The rows that hold a record: a table without records shows one that holds none, and with no
// document the count may be a previous one's.
int FenPrincipale::recordRows() const
{
    return hasDocument() ? qMin(recordCount, model->rowCount()) : 0;
}

void FenPrincipale::showRecordCount()
{
    fileLabel->setText(fileLabelText());
}
