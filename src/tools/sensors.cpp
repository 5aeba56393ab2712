#include "app/fenprincipale.h"
#include "review/valuereview.h"
#include "table/tablemodel.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace
{
const QString selectAllFirstText = QStringLiteral("Tout sélectionner/desélectionner");
const QString selectAllText = QStringLiteral("Tout sélectionner");
const QString unselectAllText = QStringLiteral("Tout desélectionner");
} // namespace

void FenPrincipale::selectionner_sonde()
{
    currentDialog = new QDialog(this);
    currentDialog->setWindowModality(Qt::WindowModal);
    currentDialog->setWindowTitle(QStringLiteral("Sondes"));
    QGroupBox* group = newSensorGroup();
    AppSettings(LoadSensorChoices);
    auto* layout = new QVBoxLayout(currentDialog);
    layout->addWidget(group);
    layout->addLayout(createButtonRow(QStringLiteral("OK"), &FenPrincipale::afficher_colonne, 70));
    currentDialog->show();
}

// The two columns of boxes and the select-all button. While a document is shown the boxes are
// those of its own type, whatever the selector shows since: box i then belongs to table column i.
QGroupBox* FenPrincipale::newSensorGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Sondes"));
    sensorFormLeft = new QFormLayout;
    sensorFormRight = new QFormLayout;
    auto* columns = new QHBoxLayout;
    columns->addLayout(sensorFormLeft);
    columns->addSpacing(30);
    columns->addLayout(sensorFormRight);

    const QStringList& headers = headerLists[int(columnSettingsType())];
    const int half = headers.size() / 2;
    for (int i = 0; i < headers.size(); ++i) {
        auto* box = new QCheckBox;
        box->setChecked(true);
        (i < half ? sensorFormLeft : sensorFormRight)->addRow(shortColumnName(headers.at(i)), box);
    }

    selectAllButton = new QPushButton(selectAllFirstText);
    connect(selectAllButton, &QPushButton::clicked, this, &FenPrincipale::set_box_sonde);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(columns);
    groupLayout->addSpacing(10);
    groupLayout->addWidget(selectAllButton);
    return group;
}

// The first press checks every box, even when all are checked already; later presses alternate.
void FenPrincipale::set_box_sonde()
{
    const bool check = selectAllButton->text() != unselectAllText;
    for (QCheckBox* box : sensorBoxes())
        box->setChecked(check);
    selectAllButton->setText(check ? unselectAllText : selectAllText);
}

void FenPrincipale::afficher_colonne()
{
    const QList<QCheckBox*> boxes = sensorBoxes();
    for (int column = 0; column < model->columnCount() && column < boxes.size(); ++column) {
        const bool shown = tableView->isColumnHidden(column) && boxes.at(column)->isChecked();
        tableView->setColumnHidden(column, !boxes.at(column)->isChecked());
        // Hidden when the table was built, it was never fitted to its values.
        if (shown)
            tableView->resizeColumnToContents(column);
    }
    review->showSuspectCount();
    AppSettings(SaveSensorChoices);
    currentDialog->close();
}

// The boxes down the left column, then down the right one: the order of the table's columns.
QList<QCheckBox*> FenPrincipale::sensorBoxes() const
{
    QList<QCheckBox*> boxes;
    for (QFormLayout* form : {sensorFormLeft, sensorFormRight}) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem* item = form->itemAt(row, QFormLayout::FieldRole);
            if (auto* box = item ? qobject_cast<QCheckBox*>(item->widget()) : nullptr)
                boxes.append(box);
        }
    }
    return boxes;
}
