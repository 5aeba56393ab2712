#include "app/fenprincipale.h"

#include "quality/rules.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <QtEndian>

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

constexpr qint64 minutesADay = 24 * 60;

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
    const QString label = model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    const QString suggested = rowDateKey(row) >= 0 ? label : suggestedDate(row);
    if (suggested.isNull())
        dateEdit->setDate(QDate::currentDate());
    else
        prefillDateTime(suggested);
    fixDialogSize(QSize(130, 90));
    currentDialog->show();
}

// Writes the dialog's date into the row it was opened for. A date the document's timestamp
// cannot hold is refused with the dialog left open, rather than stored as another date.
void FenPrincipale::set_verticalheader_item()
{
    const QString text = dateEdit->date().toString(dateFormat) + QLatin1Char(' ') +
                         timeEdit->time().toString(timeFormat);
    // The same date again changes nothing: written anew, a WS2300 hour that the autumn clock change
    // repeats would move to its second occurrence.
    const QString label = model->headerData(dateRow, Qt::Vertical, Qt::DisplayRole).toString();
    if (!documentRecord(dateRow) || text == label) {
        currentDialog->close();
        return;
    }
    const QString reason = writeRefusal({dateRow, CellWrite::dateColumn, text});
    if (!reason.isNull()) {
        QMessageBox::critical(currentDialog, QStringLiteral("Erreur"), reason, QMessageBox::Ok,
                              QMessageBox::NoButton);
        return;
    }
    applyWrites({{dateRow, CellWrite::dateColumn, text}}, QStringLiteral("changement de date"));
    currentDialog->close();
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

void FenPrincipale::prefillDateTime(const QString& label)
{
    dateEdit->setDate(QDate::fromString(label.left(10), dateFormat));
    timeEdit->setTime(QTime::fromString(label.mid(11), timeFormat));
}

// Minutes from the start of the Julian days: a key that orders dates and whose differences are
// durations.
qint64 FenPrincipale::dateKey(const QDate& date, const QTime& time)
{
    return date.toJulianDay() * minutesADay + time.hour() * 60 + time.minute();
}

// The date key of a row label; a label that is not a real date and time, such as an added row's
// placeholder, gives -1.
qint64 FenPrincipale::rowDateKey(int row) const
{
    return model->labelKey(row);
}

// Minutes along the time the records were taken in: the WS2300 seconds count the station's own
// clock, whose labels repeat an hour in autumn and skip one in spring, so that a correction that
// follows time in a block over a clock change follows the hours that really passed. -1 for an
// undated row.
qint64 FenPrincipale::rowTimeKey(int row) const
{
    const char* record = documentRecord(row);
    const bool isWs2300 = Format::layout(documentType).timestamp == Format::Timestamp::Seconds;
    // A record's own label is a date: only a label put into its row may be none.
    const qint64 key = isWs2300 && record && !model->putAt(row, TableModel::Put::labelColumn)
                           ? 0
                           : rowDateKey(row);
    if (key < 0 || !record || !isWs2300)
        return key;
    return qint64(qFromLittleEndian<quint32>(record +
                                             Format::timestampOffset(Format::Timestamp::Seconds))) /
           60;
}

// What the quality rules measure a row's date by: its time key, or that it holds no record.
qint64 FenPrincipale::rowTime(int row) const
{
    return documentRecord(row) ? rowTimeKey(row) : Quality::noRecord;
}

// The first dated row from row on, walking by step (1 down, -1 up); -1 when there is none.
int FenPrincipale::nearestDatedRow(int row, int step) const
{
    for (; row >= 0 && row < model->rowCount(); row += step) {
        if (rowDateKey(row) >= 0)
            return row;
    }
    return -1;
}

// The most frequent step, in minutes, from one dated record to the next; 0 with fewer than two.
// A clock set back, or a record stored twice, makes no step.
qint64 FenPrincipale::usualInterval() const
{
    QVector<qint64> keys(model->rowCount());
    model->readLabelKeys(0, keys.size(), keys.data());
    return Quality::usualInterval(keys);
}

// The date an undated row most likely has, so that the user usually changes only the time: the
// dated row above it plus the file's usual interval for each row between them, or the dated row
// below it less as much. The WS2300 clock is the local one, whose clock changes a step crosses
// as the station did; a date past what the file can hold gives way to the neighbour's own. Null
// when no row is dated.
QString FenPrincipale::suggestedDate(int row) const
{
    const int above = nearestDatedRow(row - 1, -1);
    const int neighbour = above >= 0 ? above : nearestDatedRow(row + 1, 1);
    if (neighbour < 0)
        return QString();
    const QString label = model->headerData(neighbour, Qt::Vertical, Qt::DisplayRole).toString();
    const Format::Timestamp stamp = Format::layout(documentType).timestamp;
    const QDateTime from(QDate::fromString(label.left(10), dateFormat),
                         QTime::fromString(label.mid(11), timeFormat),
                         stamp == Format::Timestamp::Seconds ? Qt::LocalTime : Qt::UTC);
    const QDateTime at = from.addSecs(usualInterval() * 60 * (row - neighbour));
    const QString text = rowDateText(at.date(), at.time());
    return timestampHolds(stamp, text) ? text : label;
}

// The dialog's size, grown where its font needs more room.
void FenPrincipale::fixDialogSize(const QSize& size)
{
    currentDialog->setFixedSize(size.expandedTo(currentDialog->sizeHint()));
}
