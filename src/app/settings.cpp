#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>

namespace
{

constexpr int defaultFileIndex = int(Format::DataFileType::WswinWD);

QCheckBox* rowCheckBox(QFormLayout* form, int row)
{
    QLayoutItem* item = form->itemAt(row, QFormLayout::FieldRole);
    return item ? qobject_cast<QCheckBox*>(item->widget()) : nullptr;
}

QString rowLabel(QFormLayout* form, int row)
{
    QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole);
    auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
    return label ? label->text() : QString();
}

} // namespace

QString FenPrincipale::settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QLatin1String("/smk.ini");
}

// The column choices are those of the shown document's type, which the selector may no longer
// show; with no document, those of the selector's type.
Format::DataFileType FenPrincipale::columnSettingsType() const
{
    return hasDocument() ? documentType : Format::DataFileType(fileTypeCombo->currentIndex());
}

void FenPrincipale::AppSettings(int action)
{
    const QString path = settingsPath();
    QSettings settings(path, QSettings::IniFormat);
    qDebug() << "app settings path:" << path;
    const QString type = QString::fromLatin1(Format::layout(columnSettingsType()).name);

    switch (action) {
    case SaveSensorChoices:
        settings.beginGroup(type);
        for (QFormLayout* form : {sensorFormLeft, sensorFormRight})
            saveSensorChoices(settings, form);
        settings.endGroup();
        break;
    case LoadSensorChoices:
        settings.beginGroup(type);
        for (QFormLayout* form : {sensorFormLeft, sensorFormRight})
            loadSensorChoices(settings, form);
        settings.endGroup();
        break;
    case ApplyColumnVisibility:
        settings.beginGroup(type);
        applyColumnVisibility(settings);
        settings.endGroup();
        break;
    case SaveWorkspace:
        settings.setValue(QStringLiteral("General/WorkSpace"), workspaceEdit->text());
        settings.setValue(QStringLiteral("General/FileIndex"), fileTypeCombo->currentIndex());
        break;
    case LoadWorkspace:
        loadWorkspace(settings);
        break;
    default:
        break;
    }
}

void FenPrincipale::saveSensorChoices(QSettings& settings, QFormLayout* form)
{
    if (!form)
        return;
    for (int row = 0; row < form->rowCount(); ++row) {
        if (QCheckBox* box = rowCheckBox(form, row))
            settings.setValue(rowLabel(form, row), box->isChecked() ? 1 : 0);
    }
}

void FenPrincipale::loadSensorChoices(QSettings& settings, QFormLayout* form)
{
    if (!form)
        return;
    for (int row = 0; row < form->rowCount(); ++row) {
        if (QCheckBox* box = rowCheckBox(form, row))
            box->setChecked(settings.value(rowLabel(form, row), 1).toInt() != 0);
    }
}

void FenPrincipale::applyColumnVisibility(QSettings& settings)
{
    for (int column = 0; column < model->columnCount(QModelIndex()); ++column) {
        const QString header =
            model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        const bool shown = settings.value(shortColumnName(header), 1).toInt() != 0;
        tableView->setColumnHidden(column, !shown);
    }
}

// A stored index that names no type falls back to the default type rather than leaving the
// selector without a current item.
void FenPrincipale::loadWorkspace(QSettings& settings)
{
    workspaceEdit->setText(
        settings.value(QStringLiteral("General/WorkSpace"), QString()).toString());
    bool isNumber = false;
    int index =
        settings.value(QStringLiteral("General/FileIndex"), defaultFileIndex).toInt(&isNumber);
    if (!isNumber || index < 0 || index >= fileTypeCombo->count())
        index = defaultFileIndex;
    fileTypeCombo->setCurrentIndex(index);
}
