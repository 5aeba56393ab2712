#include "app/fenprincipale.h"
#include "desktop/backupcopy.h"
#include "desktop/firststeps.h"
#include "desktop/recentfiles.h"
#include "desktop/typeguess.h"

#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

// The first file opens; once it is open, the status bar says the others were left, since one
// document is open at a time.
void FenPrincipale::openFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    const int others = paths.size() - 1;
    const QString note =
        others == 0 ? QString()
        : others == 1
            ? QStringLiteral("1 autre fichier laissé de côté : un seul document s'ouvre à la fois.")
            : QStringLiteral("%1 autres fichiers laissés de côté : un seul document s'ouvre à la "
                             "fois.")
                  .arg(others);
    openChosenFile(QFileInfo(paths.first()).absoluteFilePath(), note);
}

// A path that names no file with bytes to read is refused with a box, before the open document
// is touched. True when refused.
bool FenPrincipale::refuseUnopenable(const QString& path)
{
    const QFileInfo file(path);
    QString reason;
    if (!file.exists())
        reason = QStringLiteral("Le fichier « %1 » n'existe pas.").arg(path);
    else if (file.isDir())
        reason = QStringLiteral("« %1 » est un dossier, pas un fichier de données.").arg(path);
    else if (!file.isFile()) // a pipe or a device, which reading would wait on
        reason = QStringLiteral("« %1 » n'est pas un fichier de données.").arg(path);
    else if (QFile readable(path); !readable.open(QIODevice::ReadOnly))
        reason = QStringLiteral("Erreur lors de l'ouverture de:\n") + path;
    else if (file.size() == 0)
        reason =
            QStringLiteral("Le fichier « %1 » est vide : il n'a aucun enregistrement.").arg(path);
    if (!reason.isEmpty())
        showError(reason);
    return !reason.isEmpty();
}

// Opens at once a file whose type its name or size tells; asks for the type of any other.
void FenPrincipale::openChosenFile(const QString& path, const QString& note)
{
    if (refuseUnopenable(path))
        return;
    const QFileInfo file(path);
    if (const auto type = TypeGuess::of(file.fileName(), file.size()))
        openAs(path, *type, note);
    else
        showTypeChooser(path, Format::DataFileType(fileTypeCombo->currentIndex()), note);
}

void FenPrincipale::showTypeChooser(const QString& path, Format::DataFileType type,
                                    const QString& note)
{
    chosenPath = path;
    chosenNote = note;
    currentDialog = new QDialog(this);
    currentDialog->setWindowTitle(QStringLiteral("Type"));
    currentDialog->setWindowModality(Qt::WindowModal);
    currentDialog->setMinimumSize(150, 70);

    typeChooserCombo = new QComboBox;
    for (int i = 0; i < fileTypeCombo->count(); ++i)
        typeChooserCombo->addItem(fileTypeCombo->itemText(i));
    typeChooserCombo->setCurrentIndex(int(type));
    // Narrow, but never so narrow that the type names are cut with a larger font.
    typeChooserCombo->setMaximumWidth(qMax(80, typeChooserCombo->sizeHint().width()));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fichier :"), new QLabel(QFileInfo(path).fileName()));
    form->addRow(QStringLiteral("Type de fichier à ouvrir:"), typeChooserCombo);
    auto* layout = new QVBoxLayout(currentDialog);
    layout->setAlignment(Qt::AlignHCenter);
    layout->addLayout(form);
    layout->addSpacing(10);
    layout->addLayout(createButtonRow(QStringLiteral("OK"), &FenPrincipale::Read_Data_Ouvrir, 70));
    currentDialog->show();
}

// The open document is answered for first; the file is read as the type given.
void FenPrincipale::openAs(const QString& path, Format::DataFileType type, const QString& note)
{
    if (!settleUnsavedChanges())
        return;
    chosenPath = path;
    chosenType = type;
    Read_Data(ChosenFile);
    if (!note.isEmpty() && hasDocument())
        statusBarWidget->showMessage(note);
}

void FenPrincipale::openRecentFile(const QString& path, Format::DataFileType type)
{
    if (!QFileInfo::exists(path)) {
        recentFiles->remove(path);
        showError(QStringLiteral("Le fichier « %1 » n'existe plus : il est retiré des fichiers "
                                 "récents.")
                      .arg(path));
        return;
    }
    if (!refuseUnopenable(path))
        openAs(path, type);
}

// The open dialog starts in the workspace; without one, where the last file opened lies.
QString FenPrincipale::openFolder() const
{
    if (!workspaceEdit->text().isEmpty() || recentFiles->entries().isEmpty())
        return workspaceEdit->text();
    return QFileInfo(recentFiles->entries().first().path).absolutePath();
}

void FenPrincipale::documentOpened()
{
    backedUpPaths.clear();
    recentFiles->add(currentFilePath, documentType);
    showDocumentOrHint();
    // The keys then go to the table just opened, not to the control that opened it: Ctrl+C
    // copies cells, not the folder's path.
    tableView->setFocus();
}

void FenPrincipale::showDocumentOrHint()
{
    tableArea->setCurrentWidget(hasDocument() ? static_cast<QWidget*>(tableView) : firstSteps);
}

// The link to the demo shows only while no document is open.
void FenPrincipale::openDemo(const QString& folder)
{
    fileTypeCombo->setCurrentIndex(int(Format::DataFileType::WswinWD));
    workspaceEdit->setText(folder);
    monthCombo->setCurrentIndex(0);
    yearCombo->setCurrentIndex(0);
    Read_Data_mois();
}

// The first save over an existing file keeps it as it was as its backup. When the copy cannot be
// made, the user says whether to save without it. False when nothing may be written.
bool FenPrincipale::keepBackup(const QString& path)
{
    if (backedUpPaths.contains(path))
        return true;
    if (QFileInfo(path).isFile() && !BackupCopy::make(path) &&
        !askYesNo(QStringLiteral("La copie de sauvegarde « %1 » n'a pas pu être écrite à côté du "
                                 "fichier.\nEnregistrer sans copie de sauvegarde ?")
                      .arg(QFileInfo(BackupCopy::pathFor(path)).fileName())))
        return false;
    backedUpPaths.insert(path);
    return true;
}
