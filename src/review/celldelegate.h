#ifndef STRATOMARK_CELLDELEGATE_H
#define STRATOMARK_CELLDELEGATE_H

#include <QPointer>
#include <QStyledItemDelegate>

class SuspectCells;

// Draws each cell on the background of its state, and opens the cell editor on the cell's own
// text, so that correcting a value means changing it rather than typing it anew.
class CellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CellDelegate(QObject* parent);
    void setSuspects(const SuspectCells* cells);

    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QPointer<const SuspectCells> suspects;
};

#endif
