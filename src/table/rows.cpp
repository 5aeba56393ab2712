#include "app/fenprincipale.h"
#include "table/operations.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QUndoStack>

#include <algorithm>
#include <cstdlib>
#include <cstring>

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
    const QVector<QString> placeholders(model->columnCount(), newCellText);
    if (replacesEmptyRow) {
        model->removeRows(0, 1, QModelIndex());
        position = 0;
    }
    model->insertFilledRows(position, {newRowLabel}, placeholders);
    showRecordCount();
}

// Removes the records of rows, ascending, and their rows. The selection covers the rows that go
// or lies elsewhere; dropped first, it need not follow each of the runs below. Each run of
// adjacent rows leaves the table in one step, from the bottom up, so that the rows of the runs
// above keep their numbers.
void FenPrincipale::removeRecordRows(const QVector<int>& rows)
{
    removeRecords(rows);
    tableView->clearSelection();
    for (int end = rows.size(); end > 0;) {
        int start = end - 1;
        while (start > 0 && rows.at(start - 1) == rows.at(start) - 1)
            --start;
        model->removeRows(rows.at(start), end - start, QModelIndex());
        end = start;
    }
    removeRowsAction->setEnabled(false);
    showRecordCount();
}

// Puts removed records back at rows, ascending, with the bytes, labels and cell texts they had:
// the records move in one pass from the last gap up, and the table gets each run of adjacent
// rows in one step, from the top down, so that each run lands on its own rows.
void FenPrincipale::restoreRecordRows(const QVector<int>& rows, const QByteArray& records,
                                      const QStringList& labels, const QVector<QString>& texts)
{
    if (!resizeRecordBuffer(qint64(recordCount) + rows.size())) {
        abandonHistory();
        return;
    }
    const qint64 size = Format::layout(documentType).recordSize;
    char* buffer = recordBuffers[int(documentType)];
    qint64 placed = qint64(recordCount) + rows.size();
    qint64 kept = recordCount;
    for (int i = rows.size() - 1; i >= 0; --i) {
        const qint64 following = placed - rows.at(i) - 1;
        std::memmove(buffer + (rows.at(i) + 1) * size, buffer + (kept - following) * size,
                     size_t(following * size));
        std::memcpy(buffer + rows.at(i) * size, records.constData() + i * size, size_t(size));
        placed = rows.at(i);
        kept -= following;
    }
    recordCount += rows.size();

    const int columns = model->columnCount();
    for (int start = 0; start < rows.size();) {
        int end = start + 1;
        while (end < rows.size() && rows.at(end) == rows.at(end - 1) + 1)
            ++end;
        model->insertFilledRows(rows.at(start), labels.mid(start, end - start),
                                texts.mid(start * columns, (end - start) * columns));
        start = end;
    }
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

// Gives the record buffer room for records records, or leaves it as it was and says so. A
// buffer of no record keeps one byte, so that a document without records still has one. The
// table must be able to show them all too.
bool FenPrincipale::resizeRecordBuffer(qint64 records)
{
    const Format::RecordLayout& layout = Format::layout(documentType);
    if (records > TableModel::maximumRows(layout.columnCount))
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

// Closes up the records that follow each removed one, then gives back the room they held. A
// smaller block that cannot be had leaves the larger one, which still holds every record.
void FenPrincipale::removeRecords(const QVector<int>& rows)
{
    const qint64 size = Format::layout(documentType).recordSize;
    char* buffer = recordBuffers[int(documentType)];
    qint64 kept = rows.first();
    for (int i = 0; i < rows.size(); ++i) {
        const qint64 next = i + 1 < rows.size() ? rows.at(i + 1) : recordCount;
        const qint64 run = next - rows.at(i) - 1;
        std::memmove(buffer + kept * size, buffer + (rows.at(i) + 1) * size, size_t(run * size));
        kept += run;
    }
    recordCount -= rows.size();
    resizeRecordBuffer(recordCount);
}

// The rows added and never dated, which have no timestamp to be saved with, in table order. A
// record read with a date that its label cannot show is the file's own, and no concern here.
QVector<int> FenPrincipale::undatedRows() const
{
    QVector<int> rows;
    for (int row = 0; row < recordRows(); ++row) {
        if (model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString() == newRowLabel)
            rows.append(row);
    }
    return rows;
}

// The cells of added rows that no value was typed into, whose fields still hold zero bytes.
qint64 FenPrincipale::placeholderCells() const
{
    qint64 count = 0;
    for (int row = 0; row < recordRows(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column)
            count += model->cellText(row, column) == newCellText ? 1 : 0;
    }
    return count;
}

// Once saved as 0, the values never typed into added rows show what the file holds, as they will
// when it is opened again. They pass no gate: they are the record's own.
void FenPrincipale::showSavedPlaceholders()
{
    const Format::RecordLayout& layout = Format::layout(documentType);
    recordEdits = false;
    for (int row = 0; row < recordRows(); ++row) {
        for (int column = 0; column < layout.columnCount; ++column) {
            if (model->cellText(row, column) == newCellText)
                model->setData(model->index(row, column),
                               fieldText(layout.fields[column], documentRecord(row)), Qt::EditRole);
        }
    }
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
