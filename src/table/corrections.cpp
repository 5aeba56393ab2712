#include "app/fenprincipale.h"
#include "repair/correction.h"
#include "repair/correctiondialog.h"
#include "table/tablemodel.h"

#include <QItemSelectionModel>
#include <QTableView>

#include <climits>
#include <functional>

namespace
{

// The rows, top to bottom, and the shown columns, left to right, that a selection spans.
struct SelectedBlock {
    int top = INT_MAX;
    int bottom = -1;
    QVector<int> columns;
};

SelectedBlock selectionSpan(const QTableView& view)
{
    SelectedBlock block;
    QVector<bool> selected(view.model()->columnCount());
    for (const QItemSelectionRange& range : view.selectionModel()->selection()) {
        bool shown = false;
        for (int column = range.left(); column <= range.right(); ++column) {
            if (view.isColumnHidden(column))
                continue;
            selected[column] = true;
            shown = true;
        }
        if (!shown)
            continue;
        block.top = qMin(block.top, range.top());
        block.bottom = qMax(block.bottom, range.bottom());
    }
    for (int column = 0; column < selected.size(); ++column) {
        if (selected.at(column))
            block.columns.append(column);
    }
    return block;
}

// Each column is corrected from its own neighbours, so the columns may lie apart; but the rows
// of each are those of the others, one run of them, with the rows just above and below it.
bool isWholeBlock(const QTableView& view, const SelectedBlock& block)
{
    const QItemSelectionModel* selection = view.selectionModel();
    if (selection->selection().size() == 1)
        return true;
    for (int row = block.top; row <= block.bottom; ++row) {
        for (const int column : block.columns) {
            if (!selection->isSelected(view.model()->index(row, column)))
                return false;
        }
    }
    return true;
}

// Why the selection is no block of records to correct, in words for the user; null when it is
// one.
QString selectionFault(const QTableView& view, const SelectedBlock& block, int records)
{
    if (!view.selectionModel()->hasSelection())
        return QStringLiteral("Aucune cellule n'est sélectionnée : sélectionnez les cellules à "
                              "corriger.");
    if (block.columns.isEmpty())
        return QStringLiteral("Les cellules sélectionnées sont toutes dans des colonnes "
                              "masquées.");
    if (!isWholeBlock(view, block))
        return QStringLiteral("Les cellules sélectionnées ne forment pas un rectangle : "
                              "sélectionnez un seul bloc de cellules.");
    if (block.bottom >= records)
        return QStringLiteral("La sélection ne contient aucun enregistrement du fichier.");
    return QString();
}

QString rowLabel(const TableModel& model, int row)
{
    return model.labelText(row);
}

Correction::Neighbour neighbour(const TableModel& model, int row, const QVector<int>& columns,
                                const std::function<qint64(int)>& dateKey)
{
    Correction::Neighbour next;
    if (row < 0 || row >= model.rowCount())
        return next;
    next.label = rowLabel(model, row);
    next.dateKey = dateKey(row);
    for (const int column : columns)
        next.texts.append(model.cellText(row, column));
    return next;
}

Correction::Block correctionBlock(const TableModel& model, const Format::RecordLayout& layout,
                                  const SelectedBlock& selected,
                                  const std::function<qint64(int)>& dateKey)
{
    Correction::Block block;
    for (const int column : selected.columns)
        block.fields.append(layout.fields[column]);
    const int rows = selected.bottom - selected.top + 1;
    block.labels.reserve(rows);
    block.dateKeys.reserve(rows);
    block.texts.reserve(rows * selected.columns.size());
    for (int row = selected.top; row <= selected.bottom; ++row) {
        block.labels.append(rowLabel(model, row));
        block.dateKeys.append(dateKey(row));
        for (const int column : selected.columns)
            block.texts.append(model.cellText(row, column));
    }
    block.above = neighbour(model, selected.top - 1, selected.columns, dateKey);
    block.below = neighbour(model, selected.bottom + 1, selected.columns, dateKey);
    return block;
}

QVector<CellWrite> correctionWrites(const SelectedBlock& selected, const Correction::Result& result)
{
    const int columns = selected.columns.size();
    QVector<CellWrite> writes;
    writes.reserve(result.changed);
    for (int cell = 0; cell < result.texts.size(); ++cell) {
        const QString& text = result.texts.at(cell);
        if (!text.isNull())
            writes.append(
                {selected.top + cell / columns, selected.columns.at(cell % columns), text});
    }
    return writes;
}

QString refusedCorrectionText(int refused)
{
    return refused == 1
               ? QStringLiteral("Rien n'est corrigé : 1 nouvelle valeur est refusée :")
               : QStringLiteral("Rien n'est corrigé : %1 nouvelles valeurs sont refusées :")
                     .arg(refused);
}

} // namespace

// The selected block of the shown columns, corrected as the dialog shows it, through the editing
// gate, as one operation of the history. A correction that the gate refuses in part is not done
// at all: the box names the values, and the dialog comes back with the user's choices to mend
// them.
void FenPrincipale::corriger_selection()
{
    if (!hasDocument())
        return;
    commitOpenEditor();
    const SelectedBlock selected = selectionSpan(*tableView);
    const QString fault = selectionFault(*tableView, selected, recordCount);
    if (!fault.isNull()) {
        showError(fault);
        return;
    }
    CorrectionDialog dialog(correctionBlock(*model, Format::layout(documentType), selected,
                                            [this](int row) { return rowTimeKey(row); }),
                            this);
    dialog.setWindowModality(Qt::WindowModal);
    while (dialog.exec() == QDialog::Accepted) {
        QVector<CellWrite> writes = correctionWrites(selected, dialog.result());
        const QVector<RefusedWrite> refused = sortOutRefusals(writes);
        if (refused.isEmpty()) {
            applyWrites(writes, Correction::operationName(dialog.kind(), writes.size()));
            return;
        }
        showError(refusedCorrectionText(refused.size()) + QLatin1Char('\n') + refusalList(refused));
    }
}
