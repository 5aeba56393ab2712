#include "app/fenprincipale.h"
#include "desktop/typeguess.h"
#include "table/tablemodel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

const QStringList& FenPrincipale::monthNames()
{
    static const QStringList names{
        QStringLiteral("Janvier"), QStringLiteral("Février"),  QStringLiteral("Mars"),
        QStringLiteral("Avril"),   QStringLiteral("Mai"),      QStringLiteral("Juin"),
        QStringLiteral("Juillet"), QStringLiteral("Août"),     QStringLiteral("Septembre"),
        QStringLiteral("Octobre"), QStringLiteral("Novembre"), QStringLiteral("Décembre")};
    return names;
}

// The monthly files are named after the type suffix, the month and the year's last two digits:
// WD_03_15.DAT is March 2015 of "wswin_WD".
QString FenPrincipale::monthFilePath(const QString& workspace, const QString& type,
                                     const QString& month, const QString& year)
{
    QString path = workspace;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    path += type.section(QLatin1Char('_'), 1, 1) + QLatin1Char('_');
    const int monthIndex = monthNames().indexOf(month);
    if (monthIndex >= 0)
        path += QStringLiteral("%1_").arg(monthIndex + 1, 2, 10, QLatin1Char('0'));
    const int y = year.toInt();
    const int twoDigits = y - 100 * (y / 100);
    if (twoDigits < 10)
        path += QLatin1Char('0');
    path += QString::number(twoDigits) + QLatin1String(".DAT");
    return path;
}

QString FenPrincipale::fileLabelText() const
{
    return QStringLiteral("Fichier \"") + QFileInfo(currentFilePath).fileName() +
           QStringLiteral("\" : ") + QString::number(recordCount) + QStringLiteral(" données");
}

void FenPrincipale::showError(const QString& text)
{
    QMessageBox::critical(this, QStringLiteral("Erreur"), text, QMessageBox::Ok,
                          QMessageBox::NoButton);
}

// "Afficher" without a month's file to show says so, and leaves the open document alone.
void FenPrincipale::Read_Data_mois()
{
    const QString missing = missingMonthText();
    if (!missing.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Afficher"), missing);
        return;
    }
    if (settleUnsavedChanges())
        Read_Data(ByMonth);
}

void FenPrincipale::Read_Data_per() {}

// The file comes first, then its type, offered as its name or size tells it.
void FenPrincipale::Ouvrir_fichier()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Ouvrir un fichier"), openFolder(),
                                                      QStringLiteral("Fichier DAT (*.DAT);;*.*"));
    if (path.isEmpty() || refuseUnopenable(path))
        return;
    const QFileInfo file(path);
    showTypeChooser(path,
                    TypeGuess::of(file.fileName(), file.size())
                        .value_or(Format::DataFileType(fileTypeCombo->currentIndex())),
                    QString());
}

// The selector takes the chosen type only once the open document is answered for: turned
// before, it would clear that document and list the workspace anew.
void FenPrincipale::Read_Data_Ouvrir()
{
    const auto type = Format::DataFileType(typeChooserCombo->currentIndex());
    currentDialog->close();
    openAs(chosenPath, type, chosenNote);
}

void FenPrincipale::Read_Data(int mode)
{
    enableDocumentActions(false);
    clearTable();
    documentType = Format::DataFileType(fileTypeCombo->currentIndex());
    if (mode == ByMonth)
        currentFilePath = monthFileFound();

    QFile file(currentFilePath);
    if (!file.open(QIODevice::ReadOnly)) {
        showError(QStringLiteral("Erreur lors de l'ouverture de:\n") + currentFilePath);
        return;
    }
    if (!readRecords(file))
        return;
    file.close();

    fileLabel->setText(fileLabelText());
    // Paints the label, but keeps the user's clicks and keys for after the build: acted on now,
    // they could clear the document that is being built.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    buildTable();
}

// Reads the whole records of an open file into the document's record buffer. Bytes that do
// not make up a whole record are left out, so a file that shrinks while it is read keeps the
// records that were really there.
bool FenPrincipale::readRecords(QFile& file)
{
    const Format::RecordLayout& layout = Format::layout(documentType);
    const qint64 size = file.size();
    const qint64 payload = size - layout.headerSize - layout.trailerSize;
    const qint64 wholeRecords = payload > 0 ? payload / layout.recordSize : 0;

    if (layout.headerSize > 0) {
        wswinHeader = file.read(layout.headerSize);
        wswinHeader.append(QByteArray(layout.headerSize - wswinHeader.size(), '\0'));
    }
    if (layout.trailerSize > 0) {
        ws2300Trailer.fill(0);
        if (size >= layout.trailerSize && file.seek(size - layout.trailerSize))
            file.read(ws2300Trailer.data(), layout.trailerSize);
    }

    const qint64 bytes = wholeRecords * layout.recordSize;
    char* buffer = wholeRecords <= TableModel::maximumRows(layout.columnCount)
                       ? static_cast<char*>(std::malloc(qMax<qint64>(bytes, 1)))
                       : nullptr;
    if (!buffer) {
        showError(QStringLiteral("Mémoire insuffisante pour lire:\n") + currentFilePath);
        return false;
    }
    recordBuffers[int(documentType)] = buffer;

    qint64 read = 0;
    if (bytes > 0 && file.seek(layout.headerSize))
        read = qMax<qint64>(file.read(buffer, bytes), 0);
    recordCount = qint32(read / layout.recordSize);
    return true;
}
