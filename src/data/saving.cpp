#include "app/fenprincipale.h"
#include "data/replacingfile.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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
// target only once every byte is on disk: a failure leaves the previous file as it was.
bool FenPrincipale::writeDocument(const QString& path)
{
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
    const bool written = writeBlock(file.device(), wswinHeader.constData(), layout.headerSize) &&
                         writeBlock(file.device(), records, recordBytes) &&
                         writeBlock(file.device(), ws2300Trailer.data(), layout.trailerSize) &&
                         file.commit();
    if (!written) {
        showError(QStringLiteral("Erreur lors de l'écriture de:\n") + path);
        return false;
    }
    return true;
}

bool FenPrincipale::saveDocument()
{
    if (!writeDocument(currentFilePath))
        return false;
    saveAction->setEnabled(false);
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
    QString filter;
    QString path =
        QFileDialog::getSaveFileName(this, tr("Enregistrer sous..."), workspaceEdit->text(),
                                     datFilter + QStringLiteral(";;*.*"), &filter);
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix();
    if (filter == datFilter && suffix != QLatin1String("dat") && suffix != QLatin1String("DAT") &&
        !appendSuffixIfAllowed(path, QStringLiteral(".DAT")))
        return;
    if (!writeDocument(path))
        return;
    currentFilePath = path;
    fileLabel->setText(fileLabelText());
    saveAction->setEnabled(false);
    updateWindowTitle();
}

// The file dialog asked about the name as typed; a suffix appended afterwards may name another
// file, which is replaced only with the user's word. False when the user keeps that file.
bool FenPrincipale::appendSuffixIfAllowed(QString& path, const QString& suffix)
{
    path += suffix;
    if (!QFileInfo::exists(path))
        return true;
    QMessageBox question(this);
    question.setIcon(QMessageBox::Question);
    question.setText(QStringLiteral("Le fichier \"") + QFileInfo(path).fileName() +
                     QStringLiteral("\" existe déjà. Voulez-vous le remplacer ?"));
    QPushButton* yes = question.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    question.setDefaultButton(question.addButton(QStringLiteral("Non"), QMessageBox::NoRole));
    question.exec();
    return question.clickedButton() == yes;
}
