#ifndef STRATOMARK_FINDINGSMODEL_H
#define STRATOMARK_FINDINGSMODEL_H

#include "review/suspects.h"

#include <QAbstractItemModel>
#include <QPointer>

class TableModel;

// The findings of a table as a tree: a group per rule and column, with its count, and under it
// each finding in row order. Built from the findings again on refresh; a finding's text is made
// only when a view shows it, so a hundred thousand of them cost a few vectors of rows.
class FindingsModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit FindingsModel(QObject* parent);

    void setSource(const SuspectCells* cells, const TableModel* table);
    void refresh();
    int findingCount() const { return total; }
    // Of those, the station's own no-data values, which are no fault of the data.
    int noDataCount() const { return noData; }
    // The place of a finding's index; invalid for a group's.
    SuspectCells::Place place(const QModelIndex& index) const;
    // Names a group across refreshes, so that a view keeps it open.
    QPair<int, int> groupKey(int group) const;

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Group {
        Quality::Rule rule;
        int column;
        QVector<int> rows;
    };

    void addGroups(const QVector<Quality::Finding>& findings, int column);
    QString groupText(const Group& group) const;
    QString findingText(const Group& group, int row) const;

    QPointer<const SuspectCells> cells;
    QPointer<const TableModel> table;
    QVector<Group> groups;
    int total = 0;
    int noData = 0;
};

#endif
