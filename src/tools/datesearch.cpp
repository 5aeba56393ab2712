#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <array>

void FenPrincipale::fenetre_chercher_date()
{
    if (!hasDocument())
        return;
    currentDialog = new QDialog(this);
    currentDialog->setWindowTitle(QStringLiteral("Rechercher une date"));
    currentDialog->setWindowModality(Qt::WindowModal);

    auto* layout = new QVBoxLayout(currentDialog);
    layout->addLayout(createDateTimeForm());
    layout->addLayout(
        createButtonRow(QStringLiteral("Rechercher"), &FenPrincipale::rechercher_date));
    const int first = nearestDatedRow(0, 1);
    if (first >= 0)
        prefillDateTime(model->headerData(first, Qt::Vertical, Qt::DisplayRole).toString());
    fixDialogSize(QSize(200, 100));
    currentDialog->show();
}

// Takes the user to the row of the dialog's date and time, or else to the first row after it,
// provided the date lies between the first dated row's and the last one's.
void FenPrincipale::rechercher_date()
{
    if (!hasDocument())
        return;
    const int found = searchedRow(dateKey(dateEdit->date(), timeEdit->time()));
    if (found < 0) {
        QMessageBox::critical(currentDialog, QStringLiteral("Erreur"),
                              QStringLiteral("La date recherchée n'est pas disponible dans le "
                                             "tableau"),
                              QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    currentDialog->close();
    showRowAtTop(found);
}

// The first row dated target, wherever rows out of order stand before it; otherwise the first row
// dated after it, when target lies between the first and the last dated row; -1 when neither.
// Undated rows take no part.
int FenPrincipale::searchedRow(qint64 target) const
{
    qint64 firstKey = -1;
    qint64 lastKey = -1;
    int after = -1;
    constexpr int stretch = 4096;
    std::array<qint64, stretch> keys;
    for (int first = 0; first < model->rowCount(); first += stretch) {
        const int count = qMin(stretch, model->rowCount() - first);
        model->readLabelKeys(first, count, keys.data());
        for (int i = 0; i < count; ++i) {
            const qint64 key = keys[size_t(i)];
            if (key < 0)
                continue;
            if (key == target)
                return first + i;
            if (firstKey < 0)
                firstKey = key;
            lastKey = key;
            if (after < 0 && key > target)
                after = first + i;
        }
    }
    return firstKey >= 0 && firstKey <= target && target <= lastKey ? after : -1;
}

// Scrolls row to the top and selects it. The view ignores a scroll to a hidden column, so the
// scroll aims at the row's first shown cell.
void FenPrincipale::showRowAtTop(int row)
{
    int column = 0;
    while (column < model->columnCount() - 1 && tableView->isColumnHidden(column))
        ++column;
    tableView->clearSelection();
    tableView->scrollTo(model->index(row, column), QAbstractItemView::PositionAtTop);
    tableView->selectRow(row);
}
