#ifndef STRATOMARK_SUSPECTS_H
#define STRATOMARK_SUSPECTS_H

#include "data/formats.h"
#include "quality/rules.h"
#include "review/cellstate.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVector>

#include <functional>

class TableModel;

// What the quality rules find in a table: every cell's state as a reading and every row date's,
// with their reasons. Found once when the table is built, then again only around the cells,
// labels and rows that change, so that typing never waits for a decade of rows.
class SuspectCells : public QObject
{
    Q_OBJECT

public:
    // Minutes along the records' time of a row, or Quality::undated, or Quality::noRecord.
    using RowTime = std::function<qint64(int row)>;
    // A place of a finding: a cell, or a row's date for column dateColumn.
    struct Place {
        static constexpr int dateColumn = -1;
        int row = -1;
        int column = dateColumn;
        bool isValid() const { return row >= 0; }
    };

    SuspectCells(const TableModel* model, Format::DataFileType type, RowTime rowTime,
                 QObject* parent);

    CellState state(int row, int column) const;
    bool hasDateFinding(int row) const;
    bool hasGapBefore(int row) const;
    // The reason of the finding at a place; null where there is none.
    QString reason(int row, int column) const;
    int suspectCount(int column) const;
    int columnCount() const { return columns; }
    const QVector<Quality::Finding>& columnFindings(int column) const { return marked.at(column); }
    const QVector<Quality::Finding>& dateFindings() const { return dated; }
    // The next finding after place (or before it, backwards) in reading order, a row's date before
    // its cells, among the dates and the suspect cells of the columns for which shown is true;
    // past the last (the first) it comes round and says so in wrapped. Invalid when there is none.
    Place nextFinding(const Place& place, const QVector<bool>& shown, bool forward,
                      bool* wrapped) const;

signals:
    void changed();

private:
    void findAll();
    void examineColumn(int column, int firstRow, int lastRow);
    void examineInStretches(int column);
    void examineRows(int column, int from, int to);
    void examineDates(int firstRow, int lastRow);
    void readStretch(int column, int firstRow, int lastRow, QVector<double>& values,
                     QVector<Quality::Kind>& kinds) const;
    bool sameAsNext(int column, int row) const;
    void countSteps(int firstRow, int lastRow, int sign);
    void followUsualInterval();
    void replace(QVector<Quality::Finding>& findings, int firstRow, int lastRow,
                 const QVector<Quality::Finding>& found, int* suspectCount);
    void followInsertedRows(const QModelIndex& parent, int first, int last);
    void followRemovedRows(const QModelIndex& parent, int first, int last);
    void followChangedCells(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void followChangedLabels(Qt::Orientation orientation, int first, int last);

    QPointer<const TableModel> model;
    const Format::RecordLayout& layout;
    RowTime rowTime;
    int columns;
    int windColumn = -1;
    int gustColumn = -1;
    // Each column's findings, and the dates', in row order.
    QVector<QVector<Quality::Finding>> marked;
    QVector<Quality::Finding> dated;
    QVector<int> suspects;
    QVector<qint64> times;
    // The steps between consecutive dated rows, by length, which give the usual interval.
    QHash<qint64, int> steps;
    qint64 usual = 0;
};

#endif
