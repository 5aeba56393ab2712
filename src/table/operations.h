#ifndef STRATOMARK_OPERATIONS_H
#define STRATOMARK_OPERATIONS_H

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QUndoCommand>
#include <QVector>

#include "app/fenprincipale.h"

// The operations of the edit history, each knowing how to undo and redo itself. Every operation
// that changes the document is one of them, so that when one is undone or redone the rows stand
// as they stood when it was done: the rows it names are still its rows.

// A change of fields, timestamps, cells and labels on rows that stay in place: a typed value, a
// paste, a correction, an import, a date change. It keeps each changed record whole, before and
// after, so that undo and redo put back exact bytes whatever the texts show.
class RecordChange : public QUndoCommand
{
public:
    // The row label's place among the columns.
    static constexpr int labelColumn = CellWrite::dateColumn;

    RecordChange(FenPrincipale& window, const QString& text);

    // Changes cell (row, column) to text and its field as the cell-to-record writer stores it, or,
    // for labelColumn, the row's label and timestamp to the date text. The text shown before is
    // the cell's, or shown for a cell whose editor already changed it (null: its record's own).
    void change(int row, int column, const QString& text);
    void change(int row, int column, const QString& text, const QString& shown);
    bool isEmpty() const { return cells.isEmpty(); }

    void undo() override;
    void redo() override;

private:
    // A null text is the one the record shows itself.
    struct Cell {
        int record; // index into rows
        int column;
        QString before;
        QString after;
    };

    static int modelColumn(int column);
    void forgetOwnTexts();
    int recordIndex(int row);
    void writeField(const Format::Field& field, int column, char* record, const QString& text);
    void apply(bool after);

    FenPrincipale& window;
    int recordSize;
    QVector<int> rows;
    QByteArray before;
    QByteArray after;
    QVector<Cell> cells;
    bool redone = false;
    // While the change is built.
    QHash<int, int> indexOfRow;
    QHash<QPair<int, const QChar*>, quint64> fieldBytes;
};

// A record of zero bytes added at a row, its cells and label placeholders.
class RowInsertion : public QUndoCommand
{
public:
    RowInsertion(FenPrincipale& window, int position);
    void undo() override;
    void redo() override;

private:
    FenPrincipale& window;
    int position;
    // A file without records shows one row that holds none: the record takes that row's place,
    // and gives it back when undone.
    bool replacesEmptyRow;
};

// Records removed, which undo puts back at their rows with their bytes and the texts put into
// them.
class RowRemoval : public QUndoCommand
{
public:
    // rows: ascending.
    RowRemoval(FenPrincipale& window, const QVector<int>& rows);
    void undo() override;
    void redo() override;

private:
    FenPrincipale& window;
    QVector<int> rows;
    QByteArray records;
    QVector<TableModel::Put> puts;
};

#endif
