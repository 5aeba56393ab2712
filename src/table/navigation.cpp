#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>

void FenPrincipale::rows_select(int)
{
    updateRowActions();
}

void FenPrincipale::cell_select(const QModelIndex&)
{
    updateRowActions();
}

// A click makes a row to insert after; whole selected rows can be removed. Without a document
// there is no record to insert beside, nor one to remove.
void FenPrincipale::updateRowActions()
{
    if (!hasDocument())
        return;
    addRowAction->setEnabled(true);
    removeRowsAction->setEnabled(!tableView->selectionModel()->selectedRows(0).isEmpty());
}

void FenPrincipale::Haut_Tableau()
{
    goToRow(0);
}

void FenPrincipale::Bas_Tableau()
{
    goToRow(model->rowCount() - 1);
}

// Makes row current, scrolled into view, with nothing selected; a table without rows has none
// to go to.
void FenPrincipale::goToRow(int row)
{
    if (row < 0 || row >= model->rowCount())
        return;
    tableView->selectRow(row);
    tableView->clearSelection();
}
