#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QMessageBox>
#include <QTableView>

#include <cmath>

namespace
{
constexpr float lowestValue = -50.0f;
constexpr float highestValue = 2000.0f;
} // namespace

void FenPrincipale::Courant_changed(const QItemSelection&, const QItemSelection&) {}

// The one gate for cell changes: a number of the accepted range that its field can hold is
// written into the record; anything else is put back. "nan" reads as a number but lies in no
// range, so it is refused like one out of range.
void FenPrincipale::modif_donnees(const QModelIndex& topLeft, const QModelIndex&)
{
    const QVariant cell = model->data(topLeft, Qt::DisplayRole);
    bool isNumber = false;
    const float value = cell.toFloat(&isNumber);
    const QString text = cell.toString();
    if (!isNumber || !std::isfinite(value) || value < lowestValue || value > highestValue ||
        !recordCanHold(topLeft.row(), topLeft.column(), text)) {
        editAccepted = false;
        refuseEdit(topLeft);
        return;
    }
    editAccepted = true;
    if (recordEdits)
        pushEdit(topLeft.row(), topLeft.column(), model->previousText,
                 fieldBytes(topLeft.row(), topLeft.column()));
    saveAction->setEnabled(true);
    writeCellToRecord(topLeft.row(), topLeft.column(), text);
}

bool FenPrincipale::recordCanHold(int row, int column, const QString& text) const
{
    const Format::RecordLayout& layout = Format::layout(documentType);
    return documentRecord(row) && column >= 0 && column < layout.columnCount &&
           fieldHolds(layout, column, text);
}

// An import reports its refusals once it is over, rather than with a box for each of them.
void FenPrincipale::refuseEdit(const QModelIndex& index)
{
    const QSignalBlocker blocker(model);
    const QString text = model->data(index, Qt::DisplayRole).toString();
    if (!text.isEmpty() && refusedValues)
        refusedValues->append({index.row(), index.column(), text});
    else if (!text.isEmpty())
        QMessageBox::critical(this, QStringLiteral("Erreur"), QStringLiteral("Erreur de saisie"),
                              QMessageBox::Ok, QMessageBox::NoButton);
    model->setData(index, model->previousText, Qt::EditRole);
}

// A value typed into a cell editor that is still open has not reached the model. The delegate's
// own signals commit it, through the gate like any edit, and close the editor, so that quitting,
// saving or reading the table never misses it.
void FenPrincipale::commitOpenEditor()
{
    QAbstractItemDelegate* delegate = tableView->itemDelegate();
    // The view keeps its cell editors, and nothing else, on its viewport.
    const QList<QWidget*> editors =
        tableView->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* editor : editors) {
        if (editor->isHidden())
            continue;
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}
