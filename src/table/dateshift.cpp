#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QDateTime>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

namespace
{

// A century either way: more than any station's clock was ever off.
constexpr int longestShift = 100 * 365 * 24 * 60;

QString rowsText(int rows)
{
    return rows == 1 ? QStringLiteral("1 ligne") : QStringLiteral("%1 lignes").arg(rows);
}

// A local time inside the hour that the autumn clock change repeats names two moments, and a
// WS2300 record would be stored at either.
bool namesTwoMoments(const QString& label)
{
    const quint32 seconds = FenPrincipale::textToSeconds(label);
    return FenPrincipale::secondsToText(seconds - 3600) == label ||
           FenPrincipale::secondsToText(seconds + 3600) == label;
}

} // namespace

// The selected rows' dates moved by a number of minutes, as one operation of the history; a
// shift that any of its new dates makes impossible is not done at all, and the box names the
// first row concerned. Rows without a date keep theirs to be given.
void FenPrincipale::decaler_dates()
{
    if (!hasDocument())
        return;
    commitOpenEditor();
    const QVector<int> rows = datedSelectedRows();
    if (rows.isEmpty()) {
        showError(QStringLiteral("Aucune ligne datée n'est sélectionnée : sélectionnez les lignes "
                                 "dont les dates sont à décaler."));
        return;
    }
    bool accepted = false;
    const int minutes = QInputDialog::getInt(
        this, QStringLiteral("Décaler les dates"),
        QStringLiteral("Décaler les dates de %1 de (minutes, négatif vers le passé) :")
            .arg(rowsText(rows.size())),
        0, -longestShift, longestShift, 1, &accepted);
    if (!accepted || minutes == 0)
        return;
    const QVector<CellWrite> writes = shiftedDates(rows, minutes);
    const bool localClock = Format::layout(documentType).timestamp == Format::Timestamp::Seconds;
    for (const CellWrite& write : writes) {
        QString reason = writeRefusal(write);
        if (reason.isNull() && localClock && namesTwoMoments(write.text))
            reason = QStringLiteral("La date du %1 tombe dans l'heure que le passage à l'heure "
                                    "d'hiver répète : ce fichier ne dirait pas laquelle des deux.")
                         .arg(write.text);
        if (!reason.isNull()) {
            showError(
                QStringLiteral("Ligne %1 (%2) : %3\n\nAucune date n'a été décalée.")
                    .arg(write.row + 1)
                    .arg(model->headerData(write.row, Qt::Vertical, Qt::DisplayRole).toString(),
                         reason));
            return;
        }
    }
    applyWrites(writes, QStringLiteral("décalage des dates de %1").arg(rowsText(writes.size())));
}

// The rows that a selection touches, in any column, that hold a dated record; the current row
// when nothing is selected.
QVector<int> FenPrincipale::datedSelectedRows() const
{
    QVector<int> rows;
    const QItemSelectionModel* selection = tableView->selectionModel();
    for (const QItemSelectionRange& range : selection->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    if (rows.isEmpty() && tableView->currentIndex().isValid())
        rows.append(tableView->currentIndex().row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(
        std::remove_if(rows.begin(), rows.end(),
                       [this](int row) { return !documentRecord(row) || rowDateKey(row) < 0; }),
        rows.end());
    return rows;
}

// The dates of rows moved by minutes on the calendar and the clock the labels show.
QVector<CellWrite> FenPrincipale::shiftedDates(const QVector<int>& rows, int minutes) const
{
    QVector<CellWrite> writes;
    writes.reserve(rows.size());
    for (const int row : rows) {
        QDate date;
        QTime time;
        parseRowDate(model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString(), date, time);
        const QDateTime moved = QDateTime(date, time, Qt::UTC).addSecs(qint64(minutes) * 60);
        writes.append({row, CellWrite::dateColumn, rowDateText(moved.date(), moved.time())});
    }
    return writes;
}
