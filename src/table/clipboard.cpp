#include "app/fenprincipale.h"
#include "repair/spreadsheetblock.h"
#include "table/tablemodel.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLocale>
#include <QStatusBar>
#include <QTableView>

#include <algorithm>

namespace
{

// No block that a table can take comes near this many characters a cell; a spreadsheet's spaces
// fit in the rest. A larger text is refused before it is split into fields that would fill the
// memory.
constexpr qint64 pasteCharactersPerCell = 64;
constexpr qint64 pasteSlack = 1 << 20;

const QString noRecordText = QStringLiteral("Le collage tombe sur une ligne qui ne correspond à "
                                            "aucun enregistrement du fichier.\nRien n'est collé.");

QString counted(int count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(count > 1 ? many : one);
}

// Numbers the marked places (0) in their order, from 0, and leaves the others (-1); returns how
// many there are.
int numberMarked(QVector<int>& places)
{
    int count = 0;
    for (int& place : places) {
        if (place >= 0)
            place = count++;
    }
    return count;
}

// The writes of block's values from row down, its columns going into columns in turn; an empty
// field writes nothing.
QVector<CellWrite> blockWrites(const SpreadsheetBlock& block, int row, const QVector<int>& columns)
{
    QVector<CellWrite> writes;
    writes.reserve(block.rowCount() * block.columnCount());
    for (int r = 0; r < block.rowCount(); ++r) {
        for (int c = 0; c < block.columnCount(); ++c) {
            if (!block.field(r, c).isEmpty())
                writes.append({row + r, columns.at(c), block.field(r, c)});
        }
    }
    return writes;
}

} // namespace

// A focused line edit, the workspace field or a cell editor, takes Ctrl+C and Ctrl+V before the
// window's shortcuts; the menu's Copier and Coller then act on its text too, as they would in any
// editor.
QLineEdit* FenPrincipale::focusedLineEdit() const
{
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    return edit && isAncestorOf(edit) ? edit : nullptr;
}

void FenPrincipale::copier()
{
    if (QLineEdit* edit = focusedLineEdit()) {
        edit->copy();
        return;
    }
    if (!hasDocument())
        return;
    commitOpenEditor();
    int columns = 0;
    const QVector<QString> texts = selectedTexts(columns);
    if (texts.isEmpty()) {
        statusBarWidget->showMessage(QStringLiteral("Aucune cellule affichée n'est sélectionnée."),
                                     3000);
        return;
    }
    QGuiApplication::clipboard()->setText(SpreadsheetBlock::toText(texts, columns));
}

// The selected cells of the shown columns, or the current cell when none is selected, as a block:
// the rows and the columns that hold them, row after row as the cells show them. A cell of the
// block that is not selected is an empty field, which a paste of the block leaves as it is.
// columns: the block's width.
QVector<QString> FenPrincipale::selectedTexts(int& columns) const
{
    QItemSelection selection = tableView->selectionModel()->selection();
    const QModelIndex current = tableView->currentIndex();
    if (selection.isEmpty() && current.isValid())
        selection.select(current, current);
    // Each row's and each shown column's place in the block, -1 outside it.
    QVector<int> blockRows(model->rowCount(), -1);
    QVector<int> blockColumns(model->columnCount(), -1);
    for (const QItemSelectionRange& range : selection) {
        bool shown = false;
        for (int column = range.left(); column <= range.right(); ++column) {
            if (!tableView->isColumnHidden(column)) {
                blockColumns[column] = 0;
                shown = true;
            }
        }
        if (shown)
            std::fill(blockRows.begin() + range.top(), blockRows.begin() + range.bottom() + 1, 0);
    }
    const int rows = numberMarked(blockRows);
    columns = numberMarked(blockColumns);
    QVector<QString> texts(rows * columns);
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            for (int column = range.left(); column <= range.right(); ++column) {
                if (blockColumns.at(column) >= 0)
                    texts[blockRows.at(row) * columns + blockColumns.at(column)] =
                        model->cellText(row, column);
            }
        }
    }
    return texts;
}

// The clipboard's block goes in whole through the editing gate, as one operation, or not at all.
// A value that a cell already shows is not written again: pasted back where it was copied from, a
// block changes no byte of the records.
void FenPrincipale::coller()
{
    if (QLineEdit* edit = focusedLineEdit()) {
        edit->paste();
        return;
    }
    if (!hasDocument())
        return;
    commitOpenEditor();
    QVector<CellWrite> writes;
    const QString misfit = clipboardWrites(writes);
    if (!misfit.isNull()) {
        showError(misfit);
        return;
    }
    dropUnchanged(writes);
    const QVector<RefusedWrite> refused = sortOutRefusals(writes);
    if (!refused.isEmpty()) {
        showError(refusedPasteText(refused));
        return;
    }
    if (writes.isEmpty()) {
        statusBarWidget->showMessage(QStringLiteral("Le tableau montre déjà les valeurs collées."),
                                     3000);
        return;
    }
    applyWrites(writes, writes.size() == 1
                            ? QStringLiteral("collage d'une cellule")
                            : QStringLiteral("collage de %1 cellules").arg(writes.size()));
}

// The writes that the clipboard's text asks for, a cell each: a single value into every selected
// cell, a block at the current cell. Why it asks for none, in words for the user, or a null text.
QString FenPrincipale::clipboardWrites(QVector<CellWrite>& writes) const
{
    const QString text = QGuiApplication::clipboard()->text();
    const qint64 largest =
        qint64(model->rowCount()) * model->columnCount() * pasteCharactersPerCell + pasteSlack;
    // A character counts as a byte, as the digits of a number do.
    if (text.size() > largest)
        return QStringLiteral("Le texte du presse-papiers (%1) est bien plus grand que tout bloc "
                              "que ce tableau peut recevoir.\nRien n'est collé.")
            .arg(QLocale(QLocale::French)
                     .formattedDataSize(text.size(), 1, QLocale::DataSizeSIFormat));
    const SpreadsheetBlock block =
        SpreadsheetBlock::parse(text, qint64(model->rowCount()) * shownColumnsFrom(0).size());
    if (!block.isBlock())
        return block.whyNoBlock();
    if (!block.holdsValue())
        return QStringLiteral("Le presse-papiers ne contient aucune valeur à coller.");
    if (recordCount == 0)
        return noRecordText;
    if (shownColumnsFrom(0).isEmpty())
        return QStringLiteral("Toutes les colonnes sont masquées.\nRien n'est collé.");
    // A single value goes into every selected cell and is checked in each: one far longer than
    // any number would be checked a hundred thousand times for nothing.
    if (block.rowCount() == 1 && block.columnCount() == 1 &&
        block.field(0, 0).size() > pasteCharactersPerCell)
        return QStringLiteral("« %1 » n'est pas un nombre.\nRien n'est collé.")
            .arg(excerpt(block.field(0, 0)));
    if (block.rowCount() == 1 && block.columnCount() == 1)
        writes = selectionWrites(block.field(0, 0));
    if (writes.isEmpty()) {
        const QString misfit = blockMisfit(block.rowCount(), block.columnCount());
        if (!misfit.isNull())
            return misfit;
        const QModelIndex current = tableView->currentIndex();
        writes = blockWrites(block, current.row(), shownColumnsFrom(current.column()));
    }
    const bool offRecords = std::any_of(writes.cbegin(), writes.cend(), [this](const CellWrite& w) {
        return w.row >= recordCount;
    });
    return offRecords ? noRecordText : QString();
}

// A write of value into each selected cell of the shown columns, row after row, once for a cell
// that overlapping ranges select twice.
QVector<CellWrite> FenPrincipale::selectionWrites(const QString& value) const
{
    QVector<CellWrite> writes;
    for (const QItemSelectionRange& range : tableView->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            for (int column = range.left(); column <= range.right(); ++column) {
                if (!tableView->isColumnHidden(column))
                    writes.append({row, column, value});
            }
        }
    }
    const auto before = [](const CellWrite& a, const CellWrite& b) {
        return a.row < b.row || (a.row == b.row && a.column < b.column);
    };
    std::sort(writes.begin(), writes.end(), before);
    writes.erase(std::unique(writes.begin(), writes.end(),
                             [](const CellWrite& a, const CellWrite& b) {
                                 return a.row == b.row && a.column == b.column;
                             }),
                 writes.end());
    return writes;
}

// Why a block of rows and columns cannot go at the current cell, into the shown columns from
// there, in words for the user; a null text when it fits.
QString FenPrincipale::blockMisfit(int rows, int columns) const
{
    const QModelIndex current = tableView->currentIndex();
    if (!current.isValid())
        return QStringLiteral("Choisissez d'abord la cellule où coller.");
    if (current.row() >= recordCount)
        return noRecordText;
    const int rowsLeft = recordCount - current.row();
    const int columnsLeft = shownColumnsFrom(current.column()).size();
    if (rows <= rowsLeft && columns <= columnsLeft)
        return QString();
    return QStringLiteral("Le bloc collé (%1, %2) dépasse du tableau : depuis la cellule choisie, "
                          "il reste %3 et %4.\nRien n'est collé.")
        .arg(counted(rows, "ligne", "lignes"), counted(columns, "colonne", "colonnes"),
             counted(rowsLeft, "ligne", "lignes"),
             counted(columnsLeft, "colonne affichée", "colonnes affichées"));
}

QVector<int> FenPrincipale::shownColumnsFrom(int column) const
{
    QVector<int> shown;
    for (; column < model->columnCount(); ++column) {
        if (!tableView->isColumnHidden(column))
            shown.append(column);
    }
    return shown;
}

// Takes out the writes of a text that the cell already shows, "12,5" being 12.5: the record may
// hold more than the text shows, a fraction or a reading the station wrote, and keeps it.
void FenPrincipale::dropUnchanged(QVector<CellWrite>& writes) const
{
    writes.erase(std::remove_if(writes.begin(), writes.end(),
                                [this](const CellWrite& write) {
                                    return model->cellShows(write.row, write.column,
                                                            decimalPoint(write.text));
                                }),
                 writes.end());
}

QString FenPrincipale::refusedPasteText(const QVector<RefusedWrite>& refused) const
{
    return (refused.size() == 1
                ? QStringLiteral("1 valeur collée est refusée :")
                : QStringLiteral("%1 valeurs collées sont refusées :").arg(refused.size())) +
           QLatin1Char('\n') + refusalList(refused) + QStringLiteral("\n\nRien n'est collé.");
}
