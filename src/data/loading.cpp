#include "app/fenprincipale.h"
#include "desktop/typeguess.h"
#include "table/tablemodel.h"

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>
#include <memory>

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

// The selector takes the chosen type only once the file is read: turned before, it would clear
// the open document and list the workspace anew.
void FenPrincipale::Read_Data_Ouvrir()
{
    const auto type = Format::DataFileType(typeChooserCombo->currentIndex());
    currentDialog->close();
    openAs(chosenPath, type, chosenNote);
}

// The file is read whole before the open document gives way to it: a file too large for the
// memory, or one whose reading is cancelled, leaves that document as it was.
void FenPrincipale::Read_Data(int mode)
{
    const auto type =
        mode == ByMonth ? Format::DataFileType(fileTypeCombo->currentIndex()) : chosenType;
    const QString path = mode == ByMonth ? monthFileFound() : chosenPath;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fileTypeCombo->setCurrentIndex(int(type));
        enableDocumentActions(false);
        clearTable();
        currentFilePath = path;
        documentType = type;
        showError(QStringLiteral("Erreur lors de l'ouverture de:\n") + path);
        return;
    }
    if (!readRecords(file, type))
        return;
    fileLabel->setText(fileLabelText());
    buildTable();
}

// Reads the whole records of an open file, then makes them the document. Bytes after the last
// whole record (a record cut short when the station lost power) are kept as they are, to be saved
// back in their place: a file saved unchanged is the file read. A file too short for its type's
// header and trailer is none of that type, and saving it would make one up. False, with the open
// document left alone, when the file is too short, when the records cannot be held, when the user
// cancels the reading, or when something done while it went on (another file loaded, the selector
// turned) has made it moot.
bool FenPrincipale::readRecords(QFile& file, Format::DataFileType type)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const qint64 size = file.size();
    const qint64 payload = size - layout.headerSize - layout.trailerSize;
    if (payload < 0) {
        showError(QStringLiteral("Le fichier est trop court pour un fichier %1 :\n")
                      .arg(QLatin1String(layout.name)) +
                  file.fileName());
        return false;
    }
    const qint64 wholeRecords = payload / layout.recordSize;
    const qint64 bytes = wholeRecords * layout.recordSize;
    std::unique_ptr<char, decltype(&std::free)> buffer(
        wholeRecords <= maximumRecords(type)
            ? static_cast<char*>(std::malloc(size_t(qMax<qint64>(bytes, 1))))
            : nullptr,
        &std::free);
    if (!buffer) {
        showError(QStringLiteral("Mémoire insuffisante pour lire:\n") + file.fileName());
        return false;
    }
    QByteArray header;
    if (layout.headerSize > 0) {
        header = file.read(layout.headerSize);
        header.append(QByteArray(layout.headerSize - header.size(), '\0'));
    }
    std::array<char, Format::ws2300TrailerSize> trailer{};
    if (layout.trailerSize > 0 && file.seek(size - layout.trailerSize))
        file.read(trailer.data(), layout.trailerSize);

    const int load = ++loadsStarted;
    const int shownType = fileTypeCombo->currentIndex();
    qint64 read = 0;
    if (bytes > 0 && file.seek(layout.headerSize))
        read = readInSteps(file, buffer.get(), bytes);
    if (read < 0 || load != loadsStarted || fileTypeCombo->currentIndex() != shownType)
        return false;
    // A file that shrank while it was read ends where the reading did.
    const QByteArray leftover = read < bytes
                                    ? QByteArray(buffer.get() + read - read % layout.recordSize,
                                                 int(read % layout.recordSize))
                                : file.seek(layout.headerSize + bytes) ? file.read(payload - bytes)
                                                                       : QByteArray();

    fileTypeCombo->setCurrentIndex(int(type));
    enableDocumentActions(false);
    clearTable();
    documentType = type;
    currentFilePath = file.fileName();
    recordBuffers[int(type)] = buffer.release();
    recordCount = qint32(read / layout.recordSize);
    if (layout.headerSize > 0)
        wswinHeader = header;
    partialRecord = leftover;
    if (layout.trailerSize > 0)
        ws2300Trailer = trailer;
    return true;
}

// Reads bytes in steps; the bytes read, or -1 when the user cancels. The progress dialog shows
// only once the reading, as far as it has gone, looks like lasting readProgressDelay in all and
// half as much again from then: a reading about to end shows none.
qint64 FenPrincipale::readInSteps(QFile& file, char* buffer, qint64 bytes)
{
    const qint64 step = qBound(qint64(64) << 10, bytes / 256, qint64(1) << 20);
    const int steps = int((bytes + step - 1) / step);
    std::unique_ptr<QProgressDialog> progress;
    QElapsedTimer timer;
    timer.start();
    qint64 read = 0;
    while (read < bytes) {
        const qint64 got = file.read(buffer + read, qMin(step, bytes - read));
        if (got <= 0)
            break;
        read += got;
        const double elapsed = double(timer.elapsed());
        const double remaining = elapsed * double(bytes - read) / double(read);
        if (!progress && read < bytes && elapsed + remaining >= readProgressDelay &&
            remaining >= readProgressDelay / 2.0) {
            progress = std::make_unique<QProgressDialog>(QStringLiteral("Lecture du fichier"),
                                                         QStringLiteral("Annuler"), 0, steps, this);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumWidth(300);
            progress->setMinimumDuration(0);
            // Reset at its last step, the dialog would forget an "Annuler" pressed during it.
            progress->setAutoReset(false);
            progress->setValue(0);
        }
        if (progress) {
            progress->setValue(int((read + step - 1) / step));
            if (progress->wasCanceled())
                return -1;
        }
    }
    return read;
}
