#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace
{

const QString dateFormat = QStringLiteral("dd/MM/yyyy");
const QString timeFormat = QStringLiteral("hh:mm");

// The dates a timestamp of each kind can hold: the DOS date word counts years from 1980 in seven
// bits; the WS2300 seconds, read as local time, and the WS3600 day numbers, read as a plain
// clock, cover 2^32 seconds from 1970.
std::pair<QDate, QDate> dateSpan(Format::Timestamp stamp)
{
    switch (stamp) {
    case Format::Timestamp::DosWords:
        break;
    case Format::Timestamp::Seconds:
        return {QDateTime::fromSecsSinceEpoch(0).date(),
                QDateTime::fromSecsSinceEpoch(0xFFFFFFFFll).date()};
    case Format::Timestamp::DayNumber:
        return {QDate(1970, 1, 1), QDate(2106, 2, 7)};
    }
    return {QDate(1980, 1, 1), QDate(2107, 12, 31)};
}

// Narrow editors, but never so narrow that a larger font cuts their text.
void limitWidth(QWidget* editor, int width)
{
    editor->setMaximumWidth(qMax(width, editor->sizeHint().width()));
}

} // namespace

void FenPrincipale::fenModifDate(int row)
{
    if (!documentRecord(row))
        return;
    dateRow = row;
    currentDialog = new QDialog(this);
    currentDialog->setWindowTitle(QStringLiteral("Date Heure"));
    currentDialog->setWindowModality(Qt::WindowModal);

    auto* okButton = new QPushButton(QStringLiteral("OK"));
    okButton->setMaximumWidth(60);
    connect(okButton, &QPushButton::clicked, this, &FenPrincipale::set_verticalheader_item);
    auto* buttonLayout = new QVBoxLayout;
    buttonLayout->setAlignment(Qt::AlignCenter);
    buttonLayout->addWidget(okButton);

    auto* layout = new QVBoxLayout(currentDialog);
    layout->addLayout(createDateTimeForm());
    layout->addLayout(buttonLayout);
    prefillDateTime(model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString());
    fixDialogSize(QSize(130, 90));
    currentDialog->show();
}

// Writes the dialog's date into the row it was opened for. A date the document's timestamp
// cannot hold is refused with the dialog left open, rather than stored as another date.
void FenPrincipale::set_verticalheader_item()
{
    const QString text = dateEdit->date().toString(dateFormat) + QLatin1Char(' ') +
                         timeEdit->time().toString(timeFormat);
    if (!documentRecord(dateRow)) {
        currentDialog->close();
        return;
    }
    if (!setRowDate(dateRow, text)) {
        QMessageBox::critical(
            currentDialog, QStringLiteral("Erreur"),
            QStringLiteral("La date du %1 ne peut pas être enregistrée dans ce fichier.").arg(text),
            QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    saveAction->setEnabled(true);
    currentDialog->close();
}

// Gives row the date and time of text, in its label and in its record's timestamp, both or
// neither: false when the row has no record or its timestamp cannot hold that date.
bool FenPrincipale::setRowDate(int row, const QString& text)
{
    char* record = documentRecord(row);
    const Format::Timestamp stamp = Format::layout(documentType).timestamp;
    if (!record || !timestampHolds(stamp, text))
        return false;
    writeTimestamp(stamp, record, text);
    model->setHeaderData(row, Qt::Vertical, text, Qt::EditRole);
    return true;
}

// The "Date: " and "Heure: " rows of the date dialogs, with editors that offer only the dates
// the document's timestamp can hold.
QFormLayout* FenPrincipale::createDateTimeForm()
{
    dateEdit = new QDateEdit(currentDialog);
    dateEdit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    dateEdit->setAlignment(Qt::AlignRight);
    const auto span = dateSpan(Format::layout(documentType).timestamp);
    dateEdit->setDateRange(span.first, span.second);
    limitWidth(dateEdit, 65);

    timeEdit = new QTimeEdit(currentDialog);
    timeEdit->setDisplayFormat(timeFormat);
    timeEdit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    timeEdit->setAlignment(Qt::AlignRight);
    limitWidth(timeEdit, 35);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Date: "), dateEdit);
    form->addRow(QStringLiteral("Heure: "), timeEdit);
    return form;
}

// Sets the editors from a row label; a placeholder, or any label that is not a date and a time,
// leaves their initial values.
void FenPrincipale::prefillDateTime(const QString& label)
{
    if (!isRowDateText(label))
        return;
    dateEdit->setDate(QDate::fromString(label.left(10), dateFormat));
    timeEdit->setTime(QTime::fromString(label.mid(11), timeFormat));
}

// The dialog's size, grown where its font needs more room.
void FenPrincipale::fixDialogSize(const QSize& size)
{
    currentDialog->setFixedSize(size.expandedTo(currentDialog->sizeHint()));
}
