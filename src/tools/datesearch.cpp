#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QTableView>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace
{

constexpr qint64 keyOf(int year, int month, int day, int hour, int minute)
{
    return (((qint64(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute;
}

// The decimal number of label's characters [from, from + length), or -1.
int numberAt(const QString& label, int from, int length)
{
    int value = 0;
    for (int i = from; i < from + length; ++i) {
        const QChar c = label.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

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
    if (model->rowCount() > 0)
        prefillDateTime(model->headerData(0, Qt::Vertical, Qt::DisplayRole).toString());
    fixDialogSize(QSize(200, 100));
    currentDialog->show();
}

// Takes the user to the first row at or after the dialog's date and time, provided the date
// lies between the first row's and the last row's.
void FenPrincipale::rechercher_date()
{
    if (!hasDocument())
        return;
    const QDate date = dateEdit->date();
    const QTime time = timeEdit->time();
    const qint64 target = keyOf(date.year(), date.month(), date.day(), time.hour(), time.minute());
    const int rows = model->rowCount();
    if (rows == 0 || rowDateKey(0) > target || target > rowDateKey(rows - 1)) {
        QMessageBox::critical(currentDialog, QStringLiteral("Erreur"),
                              QStringLiteral("La date recherchée n'est pas disponible dans le "
                                             "tableau"),
                              QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    currentDialog->close();
    for (int row = 0; row < rows; ++row) {
        if (rowDateKey(row) >= target) {
            showRowAtTop(row);
            return;
        }
    }
}

// The chronological key of a row label "dd/MM/yyyy hh:mm", read by position: a search through
// a station's decade must not run a general date parser on every row. A label that is not a
// real date and time, such as an added row's placeholder, comes before every date.
qint64 FenPrincipale::rowDateKey(int row) const
{
    const QString label = model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    if (label.size() != 16 || label.at(2) != QLatin1Char('/') || label.at(5) != QLatin1Char('/') ||
        label.at(10) != QLatin1Char(' ') || label.at(13) != QLatin1Char(':'))
        return -1;
    const int day = numberAt(label, 0, 2);
    const int month = numberAt(label, 3, 2);
    const int year = numberAt(label, 6, 4);
    const int hour = numberAt(label, 11, 2);
    const int minute = numberAt(label, 14, 2);
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, 0))
        return -1;
    return keyOf(year, month, day, hour, minute);
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
