#include "app/fenprincipale.h"
#include "data/replacingfile.h"
#include "table/tablemodel.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSettings>
#include <QTableView>
#include <QTextCodec>
#include <QTextStream>
#include <QVBoxLayout>

namespace
{

const QString csvFilter = QStringLiteral("Fichier CSV (*.csv)");
const QString textFilter = QStringLiteral("Fichier Texte (*.txt)");
const QString allColumnsText = QStringLiteral("Tout");
const QString exportFolderKey = QStringLiteral("Exchange/ExportFolder");
const QString exchangeFolderKey = QStringLiteral("Exchange/Folder");

// The suffix the chosen filter asks for, or nothing when the name already has one of the two.
QString missingSuffix(const QString& path, const QString& filter)
{
    const QString suffix = QFileInfo(path).suffix();
    const bool hasSuffix = suffix == QLatin1String("csv") || suffix == QLatin1String("CSV") ||
                           suffix == QLatin1String("txt") || suffix == QLatin1String("TXT");
    if (hasSuffix)
        return QString();
    if (filter == csvFilter)
        return QStringLiteral(".csv");
    if (filter == textFilter)
        return QStringLiteral(".txt");
    return QString();
}

} // namespace

void FenPrincipale::fenExporter()
{
    currentDialog = new QDialog(this);
    currentDialog->setWindowTitle(QStringLiteral("Exporter"));
    currentDialog->setWindowModality(Qt::WindowModal);

    separatorCombo = new QComboBox;
    separatorCombo->addItems({QStringLiteral(";"), QStringLiteral(",")});
    separatorCombo->setMaximumWidth(qMax(40, separatorCombo->sizeHint().width()));
    exportScopeCombo = new QComboBox;
    exportScopeCombo->addItems({allColumnsText, QStringLiteral("Données affichées")});
    // Narrow, but never so narrow that "Données affichées" is cut.
    exportScopeCombo->setMaximumWidth(qMax(100, exportScopeCombo->sizeHint().width()));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Exporter : "), exportScopeCombo);
    form->addRow(QStringLiteral("Sépateur : "), separatorCombo);

    auto* layout = new QVBoxLayout(currentDialog);
    layout->addLayout(form);
    layout->addLayout(createButtonRow(QStringLiteral("OK"), &FenPrincipale::Exporter, 70));
    currentDialog->show();
}

// The file is written beside its name and takes that name only once complete: a failure or
// "Annuler" leaves no partial file, and a file that had the name stays as it was.
void FenPrincipale::Exporter()
{
    const QString separator = separatorCombo->currentText();
    const QVector<int> columns = exportedColumns(exportScopeCombo->currentText() == allColumnsText);
    currentDialog->close();
    commitOpenEditor();

    // The name offered has no suffix: the filter chosen gives it one.
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        this, tr("Exporter"),
        QDir(exchangeFolder(true)).filePath(QFileInfo(currentFilePath).completeBaseName()),
        csvFilter + QStringLiteral(";;") + textFilter + QStringLiteral(";;*.*"), &filter);
    if (path.isEmpty())
        return;
    rememberExchangeFolder(path, true);
    const QString suffix = missingSuffix(path, filter);
    if (!suffix.isEmpty() && !appendSuffixIfAllowed(path, suffix))
        return;

    ReplacingFile file(path);
    if (!file.open(QIODevice::Text)) {
        showError(QStringLiteral("Erreur lors de l'ouverture de:\n") + path);
        return;
    }
    QTextStream out(&file.device());
    out.setCodec(QTextCodec::codecForName("ISO 8859-1"));
    writeExportTitle(out, columns, separator);
    if (!writeExportRows(out, columns, separator))
        return;
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit())
        showError(QStringLiteral("Erreur lors de l'écriture de:\n") + path);
}

// Where the last export, or the last export or import, went; the document's folder before any.
QString FenPrincipale::exchangeFolder(bool exportOnly) const
{
    const QString folder = QSettings(settingsPath(), QSettings::IniFormat)
                               .value(exportOnly ? exportFolderKey : exchangeFolderKey)
                               .toString();
    return QFileInfo(folder).isDir() ? folder : QFileInfo(currentFilePath).absolutePath();
}

void FenPrincipale::rememberExchangeFolder(const QString& path, bool exported)
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    const QString folder = QFileInfo(path).absolutePath();
    settings.setValue(exchangeFolderKey, folder);
    if (exported)
        settings.setValue(exportFolderKey, folder);
}

QVector<int> FenPrincipale::exportedColumns(bool allColumns) const
{
    QVector<int> columns;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (allColumns || !tableView->isColumnHidden(column))
            columns.append(column);
    }
    return columns;
}

// A column's name on one line, as the title line of an exported file carries it.
QString FenPrincipale::columnExportName(int column) const
{
    return model->headerData(column, Qt::Horizontal, Qt::DisplayRole)
        .toString()
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

void FenPrincipale::writeExportTitle(QTextStream& out, const QVector<int>& columns,
                                     const QString& separator) const
{
    out << "Date" << separator << "Heure" << separator;
    for (int column : columns)
        out << columnExportName(column) << separator;
    out << '\n';
}

// False when the user chose "Annuler". Lines end with a plain newline, which the text mode of
// the file turns into the platform's line end, without flushing the stream at each line. The row
// that a file without records shows holds none, and would come back as one too many on import.
bool FenPrincipale::writeExportRows(QTextStream& out, const QVector<int>& columns,
                                    const QString& separator)
{
    const int rows = qMin(model->rowCount(), recordCount);
    const auto progress =
        showProgress(QStringLiteral("Export des données"), QStringLiteral("Annuler"), rows);

    const int step = qMax(1, rows / toolProgressSteps);
    QString line;
    for (int row = 0; row < rows; ++row) {
        line.resize(0);
        model->appendLabelText(line, row);
        line.replace(QLatin1Char(' '), separator);
        line += separator;
        for (int column : columns) {
            model->appendCellText(line, row, column);
            line += separator;
        }
        line += QLatin1Char('\n');
        out << line;
        if (row % step == 0) {
            progress->setValue(row);
            if (progress->wasCanceled())
                return false;
        }
    }
    return true;
}
