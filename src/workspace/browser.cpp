#include "app/fenprincipale.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace
{

// Longer year fields cannot be years; they read as 0, like an unreadable one, which also keeps
// the century arithmetic far from overflowing.
constexpr int longestYearField = 4;

// The year of a monthly file of the given type suffix ("WS", "WD", "WM"), or 0 when the name
// is not one: WD_11_98-old.dat is November 1998 of "wswin_WD".
int monthlyFileYear(const QFileInfo& entry, const QString& suffix)
{
    const QStringList fields =
        entry.baseName().section(QLatin1Char('-'), 0, 0).split(QLatin1Char('_'));
    if (fields.size() != 3 || fields.at(0) != suffix)
        return 0;
    const QString& yearField = fields.at(2);
    const int twoDigits = yearField.size() > longestYearField ? 0 : yearField.toInt();
    return twoDigits > 90 ? 1900 + twoDigits : 2000 + twoDigits;
}

} // namespace

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
        const int year = monthlyFileYear(entry, suffix);
        if (year == 0)
            continue;
        const QString yearText = QString::number(year);
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
