#include "app/fenprincipale.h"
#include "workspace/monthlyname.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

void FenPrincipale::explorateur_file()
{
    const QStringList typeParts = fileTypeCombo->currentText().split(QLatin1Char('_'));
    const QString suffix = typeParts.size() >= 2 ? typeParts.at(1) : QString();
    const bool isStationHistory = fileTypeCombo->currentText() == QLatin1String("WS3600") ||
                                  fileTypeCombo->currentText() == QLatin1String("WS2300");
    for (QWidget* control : std::initializer_list<QWidget*>{showButton, yearCombo, monthCombo})
        control->setDisabled(isStationHistory);
    if (isStationHistory) {
        filesFoundLabel->setText(QString());
        return;
    }

    QDir folder;
    folder.setPath(workspaceEdit->text());
    folder.setFilter(QDir::Files | QDir::NoSymLinks | QDir::Hidden);
    folder.setSorting(QDir::Size | QDir::Reversed);
    folder.setNameFilters({QStringLiteral("*.dat"), QStringLiteral("*.DAT")});

    yearCombo->clear();
    int found = 0;
    for (const QFileInfo& entry : folder.entryInfoList()) {
        const MonthlyName name = MonthlyName::of(entry);
        if (name.isNull() || name.suffix != suffix)
            continue;
        const QString yearText = QString::number(name.year);
        if (yearCombo->findData(yearText, Qt::DisplayRole,
                                Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            yearCombo->insertItem(yearCombo->count(), yearText);
        ++found;
    }
    filesFoundLabel->setText(QString::number(found) + QStringLiteral(" fichiers trouvés"));
    // Unsaved edits stay shown until the user answers for them, on a load or on quitting.
    if (!saveAction->isEnabled())
        clearTable();
}

void FenPrincipale::get_dossier()
{
    const QString folder =
        QFileDialog::getExistingDirectory(this, QString(), QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    workspaceEdit->setText(folder);
    statusBarWidget->showMessage(QStringLiteral("Espace de travail paramétré"), 2000);
    statusBarWidget->showMessage(QStringLiteral("Prêt"));
    explorateur_file();
}

// The month's file as the listing counts it: its composed name, or else one that differs only by
// case, or else one with a remark after "-" (WD_03_15-old.dat), the first by
// name: a copy set aside is the month's file only when the month has no other.
QString FenPrincipale::monthFileFound() const
{
    const QString composed = monthFilePath(workspaceEdit->text(), fileTypeCombo->currentText(),
                                           monthCombo->currentText(), yearCombo->currentText());
    const QFileInfo wanted(composed);
    if (wanted.isFile())
        return composed;
    QDir folder(wanted.absolutePath());
    folder.setFilter(QDir::Files | QDir::NoSymLinks | QDir::Hidden);
    folder.setSorting(QDir::Name);
    folder.setNameFilters({QStringLiteral("*.dat")});
    const QFileInfoList entries = folder.entryInfoList();
    for (const QFileInfo& entry : entries) {
        if (entry.completeBaseName().compare(wanted.baseName(), Qt::CaseInsensitive) == 0)
            return entry.filePath();
    }
    for (const QFileInfo& entry : entries) {
        if (entry.baseName()
                .section(QLatin1Char('-'), 0, 0)
                .compare(wanted.baseName(), Qt::CaseInsensitive) == 0)
            return entry.filePath();
    }
    return composed;
}

// Why "Afficher" has nothing to show, in words; empty when the month's file is there.
QString FenPrincipale::missingMonthText() const
{
    const QString folder = workspaceEdit->text();
    if (folder.isEmpty())
        return QStringLiteral("Choisissez d'abord le dossier de vos fichiers mensuels avec le "
                              "bouton « ... ».");
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("Le dossier %1 n'existe pas. Choisissez celui de vos fichiers "
                              "mensuels avec le bouton « ... ».")
            .arg(folder);
    const QString suffix = fileTypeCombo->currentText().section(QLatin1Char('_'), 1, 1);
    if (yearCombo->currentText().isEmpty())
        return QStringLiteral("Aucun fichier %1 dans le dossier %2.").arg(suffix, folder);
    if (QFileInfo(monthFileFound()).isFile())
        return QString();
    return QStringLiteral("Aucun fichier %1 pour %2 %3 dans le dossier %4.")
        .arg(suffix, monthCombo->currentText().toLower(), yearCombo->currentText(), folder);
}
