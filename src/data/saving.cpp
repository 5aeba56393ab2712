#include "app/fenprincipale.h"
#include "data/replacingfile.h"
#include "desktop/recentfiles.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUndoStack>
#include <QtEndian>

namespace
{

const QString datFilter = QStringLiteral("Fichier DAT (*.DAT)");

bool writeBlock(QFile& file, const char* data, qint64 size)
{
    return size == 0 || file.write(data, size) == size;
}

} // namespace

// The trailer's count and first and last timestamps follow the records being saved; a history
// without records says so with zeros.
void FenPrincipale::refreshWs2300Trailer()
{
    const Format::RecordLayout& layout = Format::layout(Format::DataFileType::WS2300);
    const char* records = recordBuffers[int(Format::DataFileType::WS2300)];
    const bool hasRecords = records && recordCount > 0;
    const quint32 first = hasRecords ? qFromLittleEndian<quint32>(records + 4) : 0;
    const quint32 last =
        hasRecords
            ? qFromLittleEndian<quint32>(records + qint64(recordCount - 1) * layout.recordSize + 4)
            : 0;
    qToLittleEndian<quint32>(quint32(hasRecords ? recordCount : 0), ws2300Trailer.data() + 16);
    qToLittleEndian<quint32>(first, ws2300Trailer.data() + 20);
    qToLittleEndian<quint32>(last, ws2300Trailer.data() + 24);
}

// Writes the document to path through a temporary file in the same folder, which replaces the
// target only once every byte is on disk: a failure leaves the previous file as it was. The first
// save over a file keeps that file as its backup.
bool FenPrincipale::writeDocument(const QString& path)
{
    if (!keepBackup(path))
        return false;
    const Format::RecordLayout& layout = Format::layout(documentType);
    ReplacingFile file(path);
    if (!file.open()) {
        showError(QStringLiteral("Erreur lors de l'ouverture de:\n") + path);
        return false;
    }
    if (layout.trailerSize > 0)
        refreshWs2300Trailer();
    const char* records = recordBuffers[int(documentType)];
    const qint64 recordBytes = records ? qint64(recordCount) * layout.recordSize : 0;
    const bool written =
        writeBlock(file.device(), wswinHeader.constData(), layout.headerSize) &&
        writeBlock(file.device(), records, recordBytes) &&
        writeBlock(file.device(), partialRecord.constData(), partialRecord.size()) &&
        writeBlock(file.device(), ws2300Trailer.data(), layout.trailerSize) && file.commit();
    if (!written) {
        showError(QStringLiteral("Erreur lors de l'écriture de:\n") + path);
        return false;
    }
    return true;
}

// A row added and never dated would be saved with a timestamp of zero bytes (1980, or 2036 in
// the station types, and a WS2300 trailer that ends there), and the values never typed into
// added rows as 0, which reopen as readings. True when the document may be written: every row
// dated, and the user's word given for the values left "--".
bool FenPrincipale::confirmSavable()
{
    const QVector<int> undated = undatedRows();
    if (!undated.isEmpty()) {
        showRowAtTop(undated.first());
        showError(undatedRowsText(undated));
        return false;
    }
    const qint64 placeholders = placeholderCells();
    return placeholders == 0 ||
           askYesNo((placeholders == 1
                         ? QStringLiteral("1 valeur des lignes ajoutées est encore « -- » : "
                                          "elle sera enregistrée comme 0.")
                         : QStringLiteral("%1 valeurs des lignes ajoutées sont encore « -- » "
                                          ": elles seront enregistrées comme 0.")
                               .arg(placeholders)) +
                    QStringLiteral("\nEnregistrer quand même ?"));
}

// The labels of undated rows all read the same: their place in the table is what tells them
// apart.
QString FenPrincipale::undatedRowsText(const QVector<int>& rows)
{
    const int named = qMin(rows.size(), 5);
    QStringList numbers;
    for (int i = 0; i < named; ++i)
        numbers << QString::number(rows.at(i) + 1);
    QString which;
    if (rows.size() == 1) {
        which = QStringLiteral("à la ligne ") + numbers.first();
    } else if (rows.size() > named) {
        which = QStringLiteral("aux lignes %1 et aux %2 autres lignes sans date")
                    .arg(numbers.join(QStringLiteral(", ")))
                    .arg(rows.size() - named);
    } else {
        const QString last = numbers.takeLast();
        which = QStringLiteral("aux lignes %1 et %2").arg(numbers.join(QStringLiteral(", ")), last);
    }
    return QStringLiteral("Donnez une date %1 avant d'enregistrer.").arg(which);
}

bool FenPrincipale::saveDocument()
{
    if (!confirmSavable() || !writeDocument(currentFilePath))
        return false;
    showSavedPlaceholders();
    undoStack->setClean();
    return true;
}

void FenPrincipale::enregistrer()
{
    commitOpenEditor();
    saveDocument();
}

void FenPrincipale::enregistrer_sous()
{
    commitOpenEditor();
    if (!confirmSavable())
        return;
    QString filter;
    // Beside the document, under its name: it may lie far from the workspace, opened by a drop.
    QString path = QFileDialog::getSaveFileName(this, tr("Enregistrer sous..."),
                                                currentFilePath.isEmpty() ? workspaceEdit->text()
                                                                          : currentFilePath,
                                                datFilter + QStringLiteral(";;*.*"), &filter);
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix();
    if (filter == datFilter && suffix != QLatin1String("dat") && suffix != QLatin1String("DAT") &&
        !appendSuffixIfAllowed(path, QStringLiteral(".DAT")))
        return;
    if (!writeDocument(path))
        return;
    showSavedPlaceholders();
    currentFilePath = path;
    fileLabel->setText(fileLabelText());
    undoStack->setClean();
    updateWindowTitle();
    recentFiles->add(path, documentType);
}

// The file dialog asked about the name as typed; a suffix appended afterwards may name another
// file, which is replaced only with the user's word. False when the user keeps that file.
bool FenPrincipale::appendSuffixIfAllowed(QString& path, const QString& suffix)
{
    path += suffix;
    return !QFileInfo::exists(path) ||
           askYesNo(QStringLiteral("Le fichier \"") + QFileInfo(path).fileName() +
                    QStringLiteral("\" existe déjà. Voulez-vous le remplacer ?"));
}
