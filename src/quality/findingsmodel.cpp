#include "quality/findingsmodel.h"

#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <algorithm>
#include <array>

namespace
{
// Items of the top level carry no group; a finding carries its group's index plus one.
constexpr quintptr topLevel = 0;
} // namespace

FindingsModel::FindingsModel(QObject* parent) : QAbstractItemModel(parent) {}

void FindingsModel::setSource(const SuspectCells* suspectCells, const TableModel* tableModel)
{
    cells = suspectCells;
    table = tableModel;
    refresh();
}

void FindingsModel::refresh()
{
    beginResetModel();
    groups.clear();
    total = 0;
    noData = 0;
    if (cells && table) {
        addGroups(cells->dateFindings(), SuspectCells::Place::dateColumn);
        for (int c = 0; c < cells->columnCount(); ++c)
            addGroups(cells->columnFindings(c), c);
        std::stable_sort(groups.begin(), groups.end(),
                         [](const Group& a, const Group& b) { return a.rule < b.rule; });
    }
    endResetModel();
}

// The findings of one column, split by rule, each rule's rows in row order.
void FindingsModel::addGroups(const QVector<Quality::Finding>& findings, int column)
{
    std::array<QVector<int>, Quality::ruleCount> byRule;
    for (const Quality::Finding& finding : findings)
        byRule[std::size_t(finding.rule)].append(finding.row);
    for (int rule = 0; rule < Quality::ruleCount; ++rule) {
        if (byRule[std::size_t(rule)].isEmpty())
            continue;
        total += byRule[std::size_t(rule)].size();
        noData +=
            Quality::Rule(rule) == Quality::Rule::NoData ? byRule[std::size_t(rule)].size() : 0;
        groups.append({Quality::Rule(rule), column, std::move(byRule[std::size_t(rule)])});
    }
}

SuspectCells::Place FindingsModel::place(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalId() == topLevel)
        return {};
    const Group& group = groups.at(int(index.internalId() - 1));
    return {group.rows.at(index.row()), group.column};
}

QPair<int, int> FindingsModel::groupKey(int group) const
{
    return {int(groups.at(group).rule), groups.at(group).column};
}

QModelIndex FindingsModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return QModelIndex();
    return createIndex(row, column, parent.isValid() ? quintptr(parent.row() + 1) : topLevel);
}

QModelIndex FindingsModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == topLevel)
        return QModelIndex();
    return createIndex(int(child.internalId() - 1), 0, topLevel);
}

int FindingsModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return groups.size();
    return parent.internalId() == topLevel ? groups.at(parent.row()).rows.size() : 0;
}

int FindingsModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !cells || !table)
        return QVariant();
    const bool isGroup = index.internalId() == topLevel;
    const Group& group = groups.at(isGroup ? index.row() : int(index.internalId() - 1));
    if (role == Qt::DisplayRole)
        return isGroup ? groupText(group) : findingText(group, group.rows.at(index.row()));
    if (role == Qt::ToolTipRole)
        return isGroup ? groupText(group) : cells->reason(group.rows.at(index.row()), group.column);
    return QVariant();
}

QString FindingsModel::groupText(const Group& group) const
{
    const QString where =
        group.column == SuspectCells::Place::dateColumn
            ? QStringLiteral("Dates")
            : FenPrincipale::shortColumnName(
                  table->headerData(group.column, Qt::Horizontal, Qt::DisplayRole).toString());
    return QStringLiteral("%1 (%2) : %3")
        .arg(where)
        .arg(group.rows.size())
        .arg(Quality::ruleTitle(group.rule));
}

// The record's date, and the cell's value or the date's reason.
QString FindingsModel::findingText(const Group& group, int row) const
{
    const QString label = table->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    const QString shown =
        FenPrincipale::isRowDateText(label) ? label : QStringLiteral("Ligne %1").arg(row + 1);
    if (group.column == SuspectCells::Place::dateColumn)
        return QStringLiteral("%1 — %2").arg(shown, cells->reason(row, group.column));
    return QStringLiteral("%1 : %2").arg(shown, table->cellText(row, group.column));
}
