#include "review/celldelegate.h"

#include "review/suspects.h"

#include <QLineEdit>

namespace
{
const QColor suspectBackground(255, 196, 160);
const QColor noDataBackground(214, 214, 214);
} // namespace

CellDelegate::CellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void CellDelegate::setSuspects(const SuspectCells* cells)
{
    suspects = cells;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(index.data(Qt::DisplayRole).toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

// An editor closed on the text it opened with changes nothing, and so marks nothing modified.
void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && line->text() == index.data(Qt::DisplayRole).toString())
        return;
    QStyledItemDelegate::setModelData(editor, model, index);
}

void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!suspects)
        return;
    switch (suspects->state(index.row(), index.column())) {
    case CellState::Suspect:
        option->backgroundBrush = suspectBackground;
        break;
    case CellState::NoData:
        option->backgroundBrush = noDataBackground;
        break;
    case CellState::Reading:
        break;
    }
}
