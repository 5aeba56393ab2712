#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QMessageBox>

namespace
{
constexpr float lowestValue = -50.0f;
constexpr float highestValue = 2000.0f;
} // namespace

void FenPrincipale::Courant_changed(const QItemSelection&, const QItemSelection&) {}

// The one gate for cell changes: a number of the accepted range that its field can hold is
// written into the record; anything else is put back.
void FenPrincipale::modif_donnees(const QModelIndex& topLeft, const QModelIndex&)
{
    const QVariant cell = model->data(topLeft, Qt::DisplayRole);
    bool isNumber = false;
    const float value = cell.toFloat(&isNumber);
    const QString text = cell.toString();
    if (!isNumber || value < lowestValue || value > highestValue ||
        !recordCanHold(topLeft.row(), topLeft.column(), text)) {
        refuseEdit(topLeft);
        return;
    }
    if (recordEdits)
        pushEdit(topLeft.row(), topLeft.column(), model->previousText);
    saveAction->setEnabled(true);
    writeCellToRecord(topLeft.row(), topLeft.column(), text);
}

bool FenPrincipale::recordCanHold(int row, int column, const QString& text) const
{
    const Format::RecordLayout& layout = Format::layout(documentType);
    return documentRecord(row) && column >= 0 && column < layout.columnCount &&
           fieldHolds(layout, column, text);
}

void FenPrincipale::refuseEdit(const QModelIndex& index)
{
    const QSignalBlocker blocker(model);
    if (!model->data(index, Qt::DisplayRole).toString().isEmpty())
        QMessageBox::critical(this, QStringLiteral("Erreur"), QStringLiteral("Erreur de saisie"),
                              QMessageBox::Ok, QMessageBox::NoButton);
    model->setData(index, model->previousText, Qt::EditRole);
}
