#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace
{
// A longer heading no longer fits across the page.
constexpr int longestPrintHeading = 300;
const QString valueSeparator = QStringLiteral("  ");
} // namespace

void FenPrincipale::Imprimer()
{
    commitOpenEditor();
    if (!buildPrintDocument())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(5, 10, 5, 10), QPageLayout::Millimeter);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, &FenPrincipale::print);
    preview.exec();
}

void FenPrincipale::print(QPrinter* printer)
{
    if (printTextEdit)
        printTextEdit->print(printer);
}

// Builds the print document afresh: a bold heading of the shown columns' names, then one plain
// paragraph per row. False, after saying so, when the shown columns are too many for the page.
bool FenPrincipale::buildPrintDocument()
{
    QVector<int> columns;
    const QString heading = printHeading(columns);
    if (heading.size() > longestPrintHeading) {
        showError(QStringLiteral("Trop de colonnes sont affichées pour tenir sur la page.\n"
                                 "Masquez-en quelques-unes avec \"Sondes...\" avant d'imprimer."));
        return false;
    }
    printTextEdit.reset(new QTextEdit);
    QTextDocument* document = printTextEdit->document();
    // A document of a month of minutes is never undone; its undo steps would only cost memory.
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.insertHtml(heading);
    appendPrintRows(cursor, columns);
    cursor.endEditBlock();
    return true;
}

// The heading's rich text, from "Date" and the short names of the shown columns, which it lists
// in columns.
QString FenPrincipale::printHeading(QVector<int>& columns) const
{
    QString heading = QStringLiteral("<B>Date\t");
    for (int column = 0; column < model->columnCount(); ++column) {
        if (tableView->isColumnHidden(column))
            continue;
        columns.append(column);
        heading +=
            shortColumnName(model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()) +
            valueSeparator;
    }
    return heading + QStringLiteral("</B>");
}

// One paragraph of plain text per row, whatever its texts hold; "Annuler" keeps the rows added
// so far.
void FenPrincipale::appendPrintRows(QTextCursor& cursor, const QVector<int>& columns)
{
    const int rows = model->rowCount();
    const auto progress =
        showProgress(QStringLiteral("Création des pages..."), QStringLiteral("Annuler"), rows);
    const int step = qMax(1, rows / toolProgressSteps);
    for (int row = 0; row < rows; ++row) {
        if (row % step == 0) {
            progress->setValue(row);
            if (progress->wasCanceled())
                return;
        }
        QString line = model->labelText(row);
        for (int column : columns) {
            line += valueSeparator;
            model->appendCellText(line, row, column);
        }
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(line);
    }
}
