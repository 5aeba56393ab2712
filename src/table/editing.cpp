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
// written into the record; anything else is put back, and the box says why.
void FenPrincipale::modif_donnees(const QModelIndex& topLeft, const QModelIndex&)
{
    const QString text = model->data(topLeft, Qt::DisplayRole).toString();
    const QString reason = refusalReason(topLeft.row(), topLeft.column(), text);
    editAccepted = reason.isNull();
    if (!editAccepted) {
        refuseEdit(topLeft, reason);
        return;
    }
    if (recordEdits)
        pushEdit(topLeft.row(), topLeft.column(), model->previousText,
                 fieldBytes(topLeft.row(), topLeft.column()));
    saveAction->setEnabled(true);
    writeCellToRecord(topLeft.row(), topLeft.column(), text);
}

// Why text cannot go into cell (row, column), in words for the user; a null text when it can.
// "nan" reads as a number but is none, and lies in no range.
QString FenPrincipale::refusalReason(int row, int column, const QString& text) const
{
    bool isNumber = false;
    const float value = text.toFloat(&isNumber);
    if (!isNumber || !std::isfinite(value)) {
        QString pointed = text;
        pointed.replace(QLatin1Char(','), QLatin1Char('.'));
        if (text.contains(QLatin1Char(',')) && std::isfinite(pointed.toFloat(&isNumber)) &&
            isNumber)
            return QStringLiteral("La virgule ne sépare pas les décimales : utilisez le point.");
        return QStringLiteral("« %1 » n'est pas un nombre.").arg(text);
    }
    if (value < lowestValue || value > highestValue)
        return QStringLiteral("Les valeurs vont de -50 à 2000.");
    const Format::RecordLayout& layout = Format::layout(documentType);
    if (!documentRecord(row) || column < 0 || column >= layout.columnCount)
        return QStringLiteral("Cette ligne ne correspond à aucun enregistrement du fichier.");
    if (fieldHolds(layout, column, text))
        return QString();
    // A whole-number field is written from the digits as typed: "65.0" gives no 65, and its
    // point, not the field, is what to take away.
    const int kept = qMax(0, Format::ruleDecimals(layout.fields[column].rule));
    if (typedDecimals(text) > kept || (kept == 0 && text.contains(QLatin1Char('.'))))
        return kept == 0   ? QStringLiteral("Cette colonne ne garde pas de décimale.")
               : kept == 1 ? QStringLiteral("Cette colonne ne garde qu'une décimale.")
                           : QStringLiteral("Cette colonne garde %1 décimales.").arg(kept);
    return QStringLiteral("Le champ de cette colonne ne peut pas contenir cette valeur.");
}

// The decimals of a typed number that count: "21.30" has one.
int FenPrincipale::typedDecimals(const QString& text)
{
    const QString trimmed = text.trimmed();
    const int point = trimmed.indexOf(QLatin1Char('.'));
    if (point < 0)
        return 0;
    int end = trimmed.size();
    while (end > point + 1 && trimmed.at(end - 1) == QLatin1Char('0'))
        --end;
    int digits = 0;
    while (point + 1 + digits < end && trimmed.at(point + 1 + digits).isDigit())
        ++digits;
    return digits;
}

// An import reports its refusals once it is over, rather than with a box for each of them.
void FenPrincipale::refuseEdit(const QModelIndex& index, const QString& reason)
{
    const QSignalBlocker blocker(model);
    const QString text = model->data(index, Qt::DisplayRole).toString();
    if (!text.isEmpty() && refusedValues) {
        refusedValues->append({index.row(), index.column(), text});
    } else if (!text.isEmpty()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Erreur"),
                        QStringLiteral("Erreur de saisie"), QMessageBox::Ok, this);
        box.setInformativeText(reason);
        box.exec();
    }
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
