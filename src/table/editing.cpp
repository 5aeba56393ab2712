#include "app/fenprincipale.h"
#include "table/operations.h"
#include "table/tablemodel.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QMessageBox>
#include <QTableView>
#include <QUndoStack>

#include <cmath>

void FenPrincipale::Courant_changed(const QItemSelection&, const QItemSelection&) {}

// The one gate for typed values: a number of the accepted range that its field can hold becomes
// an operation of the history, which writes it into the record; anything else is put back, and
// the box says why. What the history puts back does not come here: it restores the record's
// bytes itself.
void FenPrincipale::modif_donnees(const QModelIndex& topLeft, const QModelIndex&)
{
    if (!recordEdits)
        return;
    const int row = topLeft.row();
    const int column = topLeft.column();
    const QString text = decimalPoint(model->cellText(row, column));
    // The text the cell showed, typed again: its record may hold more than the text shows, a
    // fraction or a reading the station wrote, and keeps it.
    if (text == model->previousText) {
        const QSignalBlocker blocker(model);
        model->setData(topLeft, model->previousText, Qt::EditRole);
        return;
    }
    const QString reason = refusalReason(row, column, text);
    if (!reason.isNull()) {
        refuseEdit(topLeft, reason);
        return;
    }
    auto* change = new RecordChange(*this, QStringLiteral("saisie de « %1 »").arg(excerpt(text)));
    change->change(row, column, text, model->previousText);
    undoStack->push(change);
}

// A French interface takes the French way of typing a number: "12,5" is 12.5, and is kept as
// the table writes it. A text with a point, or with more than one comma, is left as it is. The
// blanks around a number are no part of it: kept, a carriage return from a spreadsheet's line
// would show in the cell and break the line of the next export.
QString FenPrincipale::decimalPoint(const QString& text)
{
    const QString plain = text.trimmed();
    if (plain.count(QLatin1Char(',')) != 1 || plain.contains(QLatin1Char('.')))
        return plain;
    return QString(plain).replace(QLatin1Char(','), QLatin1Char('.'));
}

// Why text cannot go into cell (row, column), in words for the user; a null text when it can.
// "nan" reads as a number but is none, and lies in no range.
QString FenPrincipale::refusalReason(int row, int column, const QString& text) const
{
    bool isNumber = false;
    const float value = text.toFloat(&isNumber);
    if (!isNumber || !std::isfinite(value))
        return QStringLiteral("« %1 » n'est pas un nombre.").arg(excerpt(text));
    const Format::RecordLayout& layout = Format::layout(documentType);
    if (!documentRecord(row) || column < 0 || column >= layout.columnCount)
        return QStringLiteral("Cette ligne ne correspond à aucun enregistrement du fichier.");
    const Format::Field& field = layout.fields[column];
    const Format::AcceptedRange range = Format::acceptedRange(field.quantity);
    if (value < range.lowest || value > range.highest)
        return rangeReason(field, range);
    if (fieldHolds(layout, column, text))
        return QString();
    // A whole-number field is written from the digits as typed: "65.0" gives no 65, and its
    // point, not the field, is what to take away.
    const int kept = qMax(0, Format::ruleDecimals(field.rule));
    if (typedDecimals(text) > kept || (kept == 0 && text.contains(QLatin1Char('.'))))
        return kept == 0   ? QStringLiteral("Cette colonne ne garde pas de décimale.")
               : kept == 1 ? QStringLiteral("Cette colonne ne garde qu'une décimale.")
                           : QStringLiteral("Cette colonne garde %1 décimales.").arg(kept);
    return QStringLiteral("Le champ de cette colonne ne peut pas contenir cette valeur.");
}

// Why the gate refuses write, or a null text: a value as typed into its cell, a date as the date
// dialog gives it.
QString FenPrincipale::writeRefusal(const CellWrite& write) const
{
    if (write.column != CellWrite::dateColumn)
        return refusalReason(write.row, write.column, write.text);
    if (!documentRecord(write.row))
        return QStringLiteral("Cette ligne ne correspond à aucun enregistrement du fichier.");
    if (!timestampHolds(Format::layout(documentType).timestamp, write.text))
        return QStringLiteral("La date du %1 ne peut pas être enregistrée dans ce fichier.")
            .arg(excerpt(write.text));
    return QString();
}

// Puts each value of writes in the form the table keeps, then takes out of writes those that the
// gate refuses, and returns them with the gate's reasons. Nothing is written yet: an operation of
// many cells is done whole or not at all.
QVector<RefusedWrite> FenPrincipale::sortOutRefusals(QVector<CellWrite>& writes) const
{
    QVector<CellWrite> given;
    given.swap(writes);
    QVector<RefusedWrite> refused;
    for (CellWrite& write : given) {
        if (write.column != CellWrite::dateColumn)
            write.text = decimalPoint(write.text);
        sortOut(write, writes, refused);
    }
    return refused;
}

// Adds write to writes when the gate accepts it, to refused otherwise.
void FenPrincipale::sortOut(const CellWrite& write, QVector<CellWrite>& writes,
                            QVector<RefusedWrite>& refused) const
{
    const QString reason = writeRefusal(write);
    if (reason.isNull())
        writes.append(write);
    else
        refused.append({write, reason});
}

// The first refused writes, a line each with its row, column, value and reason, then "..." for
// the others.
QString FenPrincipale::refusalList(const QVector<RefusedWrite>& refused) const
{
    const int named = 5;
    QStringList lines;
    for (int i = 0; i < qMin(refused.size(), named); ++i) {
        const CellWrite& write = refused.at(i).write;
        lines << QStringLiteral("%1, %2 : \"%3\" — %4")
                     .arg(model->headerData(write.row, Qt::Vertical, Qt::DisplayRole).toString(),
                          write.column == CellWrite::dateColumn ? QStringLiteral("Date Heure")
                                                                : columnExportName(write.column),
                          excerpt(write.text), refused.at(i).reason);
    }
    if (refused.size() > named)
        lines << QStringLiteral("...");
    return lines.join(QLatin1Char('\n'));
}

// Writes values and dates that the gate accepted as one operation of the history.
void FenPrincipale::applyWrites(const QVector<CellWrite>& writes, const QString& operation)
{
    if (writes.isEmpty())
        return;
    auto* change = new RecordChange(*this, operation);
    for (const CellWrite& write : writes)
        change->change(write.row, write.column, write.text);
    undoStack->push(change);
}

// After an import or a change of many cells, a range that does not name its column is a riddle.
QString FenPrincipale::rangeReason(const Format::Field& field, const Format::AcceptedRange& range)
{
    const QString column = shortColumnName(QString::fromUtf8(field.header));
    if (std::isinf(range.highest))
        return QStringLiteral("%1 : les valeurs ne peuvent pas être inférieures à %2.")
            .arg(column)
            .arg(double(range.lowest));
    return QStringLiteral("%1 : les valeurs vont de %2 à %3.")
        .arg(column)
        .arg(double(range.lowest))
        .arg(double(range.highest));
}

// A value as a box quotes it: a pasted page in a cell or a field would make a box that takes
// seconds to show and fills the screen.
QString FenPrincipale::excerpt(const QString& text)
{
    const int longest = 40;
    return text.size() > longest ? text.left(longest) + QStringLiteral("…") : text;
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

void FenPrincipale::refuseEdit(const QModelIndex& index, const QString& reason)
{
    const QSignalBlocker blocker(model);
    const QString text = model->data(index, Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
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
