#ifndef STRATOMARK_SUSPECTS_H
#define STRATOMARK_SUSPECTS_H

#include "data/formats.h"
#include "review/cellstate.h"

#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QVector>

class TableModel;

// The state of every cell of a table as a reading: found once when the table is built, then
// again only around the cells that change, so that typing never waits for a decade of rows.
class SuspectCells : public QObject
{
    Q_OBJECT

public:
    SuspectCells(const TableModel* model, Format::DataFileType type, QObject* parent);

    CellState state(int row, int column) const;
    int suspectCount(int column) const;
    // The first suspect cell after (row, column) in reading order, among the columns for which
    // shown is true, coming round to the top after the last row; invalid when there is none.
    QModelIndex nextSuspect(int row, int column, const QVector<bool>& shown) const;

    static double cellValue(const QString& text, bool* isNumber);

signals:
    void changed();

private:
    // A cell that is not a plain reading; each column keeps its own, in row order.
    struct Marked {
        int row;
        CellState state;
    };

    void findAll();
    void findAround(int firstRow, int lastRow, int firstColumn, int lastColumn);
    void followInsertedRows(const QModelIndex& parent, int first, int last);
    void followRemovedRows(const QModelIndex& parent, int first, int last);
    void followChangedCells(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    CellState stateOf(int row, int column) const;
    bool isReading(int row, int column, double* value) const;
    void setState(int row, int column, CellState state);
    void count(CellState state, int column, int change);

    QPointer<const TableModel> model;
    const Format::RecordLayout& layout;
    int columns;
    QVector<QVector<Marked>> marked;
    QVector<int> suspects;
};

#endif
