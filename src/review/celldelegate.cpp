#include "review/celldelegate.h"

#include "review/suspects.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

CellDelegate::CellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void CellDelegate::setSuspects(const SuspectCells* cells)
{
    suspects = cells;
}

QColor CellDelegate::background(CellState state)
{
    switch (state) {
    case CellState::Suspect:
        return QColor(255, 196, 160);
    case CellState::NoData:
        return QColor(214, 214, 214);
    case CellState::Reading:
        break;
    }
    return QColor();
}

bool CellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                             const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QString reason = suspects && event->type() == QEvent::ToolTip
                               ? suspects->reason(index.row(), index.column())
                               : QString();
    if (reason.isNull())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), reason, view);
    return true;
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
    const QColor colour =
        suspects ? background(suspects->state(index.row(), index.column())) : QColor();
    if (colour.isValid())
        option->backgroundBrush = colour;
}
