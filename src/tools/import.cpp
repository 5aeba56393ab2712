#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <QTextCodec>

namespace
{
// How many refused values the report names; the others are only counted.
constexpr int namedRefusals = 5;
} // namespace

// Values reach the cells, the records and the edit history through the editing gate, and dates
// the labels and timestamps the way a date change writes them. A value or date that a line
// leaves as the table shows it is not written again, so that a file imported unchanged changes
// no byte of the records.
void FenPrincipale::fenImporter()
{
    if (!hasDocument())
        return;
    commitOpenEditor();
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importer un fichier"), workspaceEdit->text(),
        QStringLiteral("*.*;;Fichier CSV (*.csv);;Fichier TXT (*.txt)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        showError(QStringLiteral("Erreur lors de l'ouverture de:\n") + path);
        return;
    }

    const auto progress =
        showProgress(QStringLiteral("Lecture du fichier à importer"), QString(), recordCount);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const QStringList lines = importLines(decodeImportText(file.readAll()));
    file.close();
    if (lines.size() - 1 != recordCount) {
        progress->close();
        showError(
            QStringLiteral("Le fichier ne contient pas le même nombre de lignes que le tableau"));
        return;
    }

    progress->setLabelText(QStringLiteral("Import des données..."));
    const QVector<RefusedValue> refused = importRows(lines, *progress);
    progress->close();
    if (!refused.isEmpty())
        reportRefusals(refused);
}

// Imports the data lines with the view hidden and the document actions off, and returns the
// values that the gate refused.
QVector<RefusedValue> FenPrincipale::importRows(const QStringList& lines, QProgressDialog& progress)
{
    // A spreadsheet set to commas writes its title line, and every line, with them.
    const QChar separator =
        lines.first().startsWith(QLatin1String("Date,")) ? QLatin1Char(',') : QLatin1Char(';');
    const QVector<int> targets = importTargets(lines.first().split(separator));
    enableDocumentActions(false);
    tableView->setVisible(false);
    QVector<RefusedValue> refused;
    refusedValues = &refused;
    bool datesChanged = false;
    const int step = qMax(1, recordCount / toolProgressSteps);
    for (int row = 0; row < recordCount; ++row) {
        datesChanged |= importLine(row, lines.at(row + 1).split(separator), targets);
        if (row % step == 0)
            progress.setValue(row);
    }
    refusedValues = nullptr;
    tableView->setVisible(true);
    enableDocumentActions(true);
    if (datesChanged)
        saveAction->setEnabled(true);
    return refused;
}

// The export writes ISO 8859-1; a spreadsheet may save the same file as UTF-8, with or without
// a byte-order mark. Bytes that do not form UTF-8 are ISO 8859-1, and plain ASCII reads the same
// either way.
QString FenPrincipale::decodeImportText(const QByteArray& bytes)
{
    QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");
    const QByteArray byteOrderMark("\xEF\xBB\xBF");
    if (bytes.startsWith(byteOrderMark))
        return utf8->toUnicode(bytes.constData() + byteOrderMark.size(),
                               bytes.size() - byteOrderMark.size());
    QTextCodec::ConverterState state;
    const QString text = utf8->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    return QTextCodec::codecForName("ISO 8859-1")->toUnicode(bytes);
}

// Spreadsheets often end a file with empty lines, which are no rows.
QStringList FenPrincipale::importLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// For each field of the title line, the table column it names, or -1: the date and the time,
// and names of no column (a column added in a spreadsheet, a note), are no values. A name that
// two columns share goes to the first of them not yet taken.
QVector<int> FenPrincipale::importTargets(const QStringList& titleFields) const
{
    QVector<int> targets(titleFields.size(), -1);
    QVector<bool> taken(model->columnCount(), false);
    for (int field = 2; field < titleFields.size(); ++field) {
        for (int column = 0; column < model->columnCount(); ++column) {
            if (!taken.at(column) && columnExportName(column) == titleFields.at(field)) {
                targets[field] = column;
                taken[column] = true;
                break;
            }
        }
    }
    return targets;
}

// Imports one data line into row; true when it changed the row's date. A field the line does
// not have, or leaves empty, leaves its cell as it was; a date the row's timestamp cannot hold
// leaves the row's date as it was and is reported with the refused values.
bool FenPrincipale::importLine(int row, const QStringList& fields, const QVector<int>& targets)
{
    bool dateChanged = false;
    if (fields.size() >= 2) {
        const QString date = fields.at(0) + QLatin1Char(' ') + fields.at(1);
        if (date != model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString()) {
            dateChanged = setRowDate(row, date);
            if (!dateChanged)
                refusedValues->append({row, RefusedValue::dateColumn, date});
        }
    }
    const int count = qMin(fields.size(), targets.size());
    for (int field = 2; field < count; ++field) {
        const QString& text = fields.at(field);
        if (targets.at(field) < 0 || text.isEmpty())
            continue;
        const QModelIndex cell = model->index(row, targets.at(field));
        if (model->data(cell, Qt::DisplayRole).toString() != text)
            model->setData(cell, text, Qt::EditRole);
    }
    return dateChanged;
}

void FenPrincipale::reportRefusals(const QVector<RefusedValue>& refused)
{
    const int count = refused.size();
    QString text = count == 1
                       ? QStringLiteral("1 valeur du fichier a été refusée ; sa cellule garde "
                                        "son texte précédent :")
                       : QStringLiteral("%1 valeurs du fichier ont été refusées ; leurs cellules "
                                        "gardent leur texte précédent :")
                             .arg(count);
    for (int i = 0; i < qMin(count, namedRefusals); ++i) {
        const RefusedValue& value = refused.at(i);
        text += QLatin1Char('\n') +
                model->headerData(value.row, Qt::Vertical, Qt::DisplayRole).toString() +
                QStringLiteral(", ") +
                (value.column == RefusedValue::dateColumn ? QStringLiteral("Date Heure")
                                                          : columnExportName(value.column)) +
                QStringLiteral(" : \"") + value.text + QLatin1Char('"');
    }
    if (count > namedRefusals)
        text += QStringLiteral("\n...");
    showError(text);
}
