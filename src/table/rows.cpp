#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
const QString newRowLabel = QStringLiteral("--/--/---- --:--");
const QString newCellText = QStringLiteral("--");
} // namespace

// Inserts a record of zero bytes below the current row, or at the top when no cell is current.
// A file without records shows one row that holds none: the new record takes that row's place.
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
    if (model->rowCount() == recordCount)
        model->insertRows(position, 1, QModelIndex());
    insertRecord(position);

    model->setHeaderData(position, Qt::Vertical, newRowLabel, Qt::EditRole);
    {
        // The placeholders are no values: they pass no gate and reach no record.
        const QSignalBlocker blocker(model);
        for (int column = 0; column < model->columnCount(); ++column)
            model->setData(model->index(position, column), newCellText, Qt::EditRole);
    }
    tableView->viewport()->update();
    saveAction->setEnabled(true);
    followInsertedRow(position);
    showRecordCount();
}

// Removes the records of the whole selected rows, in the buffer and in the table alike.
void FenPrincipale::removeRow()
{
    if (!hasDocument())
        return;
    const QVector<int> rows = recordRowsToRemove();
    if (rows.isEmpty())
        return;
    removeRecords(rows);
    // The selection covers exactly the rows that go; dropped first, it need not follow each of
    // the runs below. Each run of adjacent rows leaves the table in one step, the lowest run
    // first, so that the rows of the runs above keep their numbers.
    tableView->clearSelection();
    for (int end = rows.size(); end > 0;) {
        int start = end - 1;
        while (start > 0 && rows.at(start - 1) == rows.at(start) - 1)
            --start;
        model->removeRows(rows.at(start), end - start, QModelIndex());
        end = start;
    }
    removeRowsAction->setEnabled(false);
    saveAction->setEnabled(true);
    followRemovedRows(rows);
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
