#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QTableView>

#include <algorithm>

void FenPrincipale::clearEditHistory()
{
    for (EditEntry& entry : editHistory) {
        entry.text.clear();
        entry.fieldBytes.clear();
    }
    undoCount = 0;
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
}

void FenPrincipale::pushEdit(int row, int column, const QString& oldText,
                             const QByteArray& oldBytes)
{
    if (undoCount == historySize) {
        std::move(editHistory.begin() + 1, editHistory.end(), editHistory.begin());
        editHistory[historySize - 1] = {oldText, row, column, oldBytes};
    } else {
        editHistory[undoCount++] = {oldText, row, column, oldBytes};
    }
    discardRedoChain();
    undoAction->setEnabled(true);
    redoAction->setEnabled(false);
}

void FenPrincipale::discardRedoChain()
{
    for (int slot = undoCount; slot < historySize; ++slot)
        editHistory[slot].text.clear();
    redoAction->setEnabled(false);
}

// Puts the text and the field bytes of history slot back into its cell and record, and leaves in
// the slot those the cell had. They were the cell's before, whatever the gate would say of them
// now (a reading outside the accepted range that came from the station, an added row's "--"):
// they pass no gate, which could only lose them for good.
void FenPrincipale::applyHistoryEntry(int slot)
{
    EditEntry& entry = editHistory[slot];
    const QModelIndex cell = model->index(entry.row, entry.column);
    const QString current = model->data(cell, Qt::DisplayRole).toString();
    const QByteArray currentBytes = fieldBytes(entry.row, entry.column);
    tableView->clearSelection();
    recordEdits = false;
    model->setData(cell, entry.text, Qt::EditRole);
    recordEdits = true;
    restoreFieldBytes(entry.row, entry.column, entry.fieldBytes);
    saveAction->setEnabled(true);
    tableView->setCurrentIndex(cell);
    entry.text = current;
    entry.fieldBytes = currentBytes;
}

// A tool-bar click leaves the cell editor open; committed halfway through the history's own
// write, its value would enter the history in the middle of the move. Committed first, it is an
// edit like any other: undo takes it back, and it ends the redo chain.
void FenPrincipale::annuler_action()
{
    commitOpenEditor();
    if (undoCount == 0)
        return;
    if (undoCount == 1)
        undoAction->setEnabled(false);
    applyHistoryEntry(undoCount - 1);
    --undoCount;
    redoAction->setEnabled(true);
}

void FenPrincipale::retablir_action()
{
    commitOpenEditor();
    if (undoCount == historySize || editHistory[undoCount].text.isEmpty())
        return;
    if (undoCount == historySize - 1 || editHistory[undoCount + 1].text.isEmpty())
        redoAction->setEnabled(false);
    applyHistoryEntry(undoCount);
    ++undoCount;
    undoAction->setEnabled(true);
}

// The first slot past the redo chain: the chain runs from undoCount over the slots whose text
// is not empty.
int FenPrincipale::redoChainEnd() const
{
    int end = undoCount;
    while (end < historySize && !editHistory[end].text.isEmpty())
        ++end;
    return end;
}

void FenPrincipale::updateHistoryActions()
{
    undoAction->setEnabled(undoCount > 0);
    redoAction->setEnabled(redoChainEnd() > undoCount);
}

// A record inserted at row moves the records at row and below one row down, and their history
// entries with them.
void FenPrincipale::followInsertedRow(int row)
{
    const int end = redoChainEnd();
    for (int slot = 0; slot < end; ++slot) {
        if (editHistory[slot].row >= row)
            ++editHistory[slot].row;
    }
}

// The entries of removed records go; the others move up by the removed rows above them, and
// the undo stack and the redo chain close up in their order.
void FenPrincipale::followRemovedRows(const QVector<int>& rows)
{
    const int end = redoChainEnd();
    int kept = 0;
    int keptUndo = 0;
    for (int slot = 0; slot < end; ++slot) {
        EditEntry entry = editHistory[slot];
        const auto above = std::lower_bound(rows.begin(), rows.end(), entry.row);
        if (above != rows.end() && *above == entry.row)
            continue;
        entry.row -= int(above - rows.begin());
        editHistory[kept++] = entry;
        if (slot < undoCount)
            ++keptUndo;
    }
    for (int slot = kept; slot < historySize; ++slot) {
        editHistory[slot].text.clear();
        editHistory[slot].fieldBytes.clear();
    }
    undoCount = keptUndo;
    updateHistoryActions();
}
