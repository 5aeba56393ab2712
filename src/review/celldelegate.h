#ifndef STRATOMARK_CELLDELEGATE_H
#define STRATOMARK_CELLDELEGATE_H

#include "review/cellstate.h"

#include <QPointer>
#include <QStyledItemDelegate>

class SuspectCells;

// Draws each cell on the background of its state, with the reason of its finding as a tooltip,
// and opens the cell editor on the cell's own text, so that correcting a value means changing it
// rather than typing it anew.
class CellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CellDelegate(QObject* parent);
    void setSuspects(const SuspectCells* cells);
    // Invalid for a plain reading.
    static QColor background(CellState state);

    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QPointer<const SuspectCells> suspects;
};

#endif
