#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QDateTime>

#include <array>
#include <cmath>
#include <cstring>

namespace
{

const QString rowLabelFormat = QStringLiteral("dd/MM/yyyy hh:mm");

// WS2300 counts seconds from 1900-01-01; the extra hour is part of how the station stores it.
constexpr quint32 ws2300EpochShift = 2208992400u;

// WS3600 day numbers count days from 1899-12-30; day 25569 is 1970-01-01.
constexpr double ws3600UnixDay = 25569.0;
constexpr double secondsPerDay = 86400.0;
constexpr double twoTo32 = 4294967296.0;

void appendTwoDigits(QString& text, unsigned value)
{
    if (value <= 9)
        text += QLatin1Char('0');
    text += QString::number(value);
}

// A whole number of seconds in [0, 2^32), the span the day number texts cover.
quint32 wrapToUnsigned32(double seconds)
{
    if (!std::isfinite(seconds))
        return 0;
    double wrapped = std::fmod(seconds, twoTo32);
    if (wrapped < 0)
        wrapped += twoTo32;
    return quint32(wrapped);
}

QDateTime plainClockAt(quint32 secondsSince1970)
{
    return QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC).addSecs(secondsSince1970);
}

enum class CellTextKind : quint64 { Scaled = 1, Float = 2, Integer = 3 };

quint64 cellTextKey(CellTextKind kind, int parameter, quint32 bits)
{
    return (quint64(kind) << 48) | (quint64(quint16(parameter)) << 32) | bits;
}

template <typename Make>
const QString& sharedText(QHash<quint64, QString>& texts, quint64 key, Make make)
{
    auto it = texts.find(key);
    if (it == texts.end())
        it = texts.insert(key, make());
    return *it;
}

} // namespace

// A label "dd/MM/yyyy hh:mm" read by position: a station's decade of dates is read and checked
// in an import, where a general date parser on every row would cost seconds.
bool FenPrincipale::parseRowDate(const QString& text, QDate& date, QTime& time)
{
    if (text.size() != rowLabelFormat.size() || text.at(2) != QLatin1Char('/') ||
        text.at(5) != QLatin1Char('/') || text.at(10) != QLatin1Char(' ') ||
        text.at(13) != QLatin1Char(':'))
        return false;
    const auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const ushort c = text.at(i).unicode();
            if (c < '0' || c > '9')
                return -1;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const int day = number(0, 2), month = number(3, 2), year = number(6, 4);
    const int hour = number(11, 2), minute = number(14, 2);
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, 0))
        return false;
    date = QDate(year, month, day);
    time = QTime(hour, minute);
    return true;
}

// The label of a date of four-digit year, as the table writes it.
QString FenPrincipale::rowDateText(const QDate& date, const QTime& time)
{
    QString text;
    text.reserve(rowLabelFormat.size());
    appendTwoDigits(text, unsigned(date.day()));
    text += QLatin1Char('/');
    appendTwoDigits(text, unsigned(date.month()));
    text += QLatin1Char('/');
    text += QString::number(date.year());
    text += QLatin1Char(' ');
    appendTwoDigits(text, unsigned(time.hour()));
    text += QLatin1Char(':');
    appendTwoDigits(text, unsigned(time.minute()));
    return text;
}

QString FenPrincipale::dosDateTimeToText(quint16 time, quint16 date)
{
    const unsigned day = date & 0x1F;
    const unsigned month = (date >> 5) & 0x0F;
    const unsigned year = (date >> 9) + 1980;
    const unsigned hour = time >> 11;
    const unsigned minute = (time >> 5) & 0x3F;

    QString text;
    text.reserve(16);
    appendTwoDigits(text, day);
    text += QLatin1Char('/');
    appendTwoDigits(text, month);
    text += QLatin1Char('/');
    text += QString::number(year);
    text += QLatin1Char(' ');
    appendTwoDigits(text, hour);
    text += QLatin1Char(':');
    appendTwoDigits(text, minute);
    return text;
}

void FenPrincipale::textToDosDateTime(DosDateTime& out, const QString& text)
{
    QDate calendar;
    QTime clock;
    if (parseRowDate(text, calendar, clock)) {
        out.date = quint16(((unsigned(calendar.year()) - 1980) << 9) +
                           (unsigned(calendar.month()) << 5) + unsigned(calendar.day()));
        out.time = quint16((unsigned(clock.hour()) << 11) + (unsigned(clock.minute()) << 5));
        return;
    }
    const QStringList parts = text.split(QLatin1Char(' '));
    const QStringList date = parts.value(0).split(QLatin1Char('/'));
    const QStringList time = parts.value(1).split(QLatin1Char(':'));
    const auto item = [](const QStringList& items, int i) {
        return unsigned(items.value(i).toUShort(nullptr, 10));
    };

    const unsigned day = item(date, 0);
    const unsigned month = item(date, 1);
    const unsigned year = item(date, 2);
    const unsigned hour = item(time, 0);
    const unsigned minute = item(time, 1);

    out.date = quint16(((year - 1980) << 9) + ((month & 0x0F) << 5) + (day & 0x1F));
    out.time = quint16((hour << 11) + ((minute & 0x3F) << 5));
}

QString FenPrincipale::secondsToText(quint32 seconds)
{
    const quint32 unixSeconds = seconds - ws2300EpochShift;
    const QDateTime local = QDateTime::fromSecsSinceEpoch(qint64(unixSeconds));
    return rowDateText(local.date(), local.time());
}

// A time that a clock change skips is no local time; the general parser says what it gives.
quint32 FenPrincipale::textToSeconds(const QString& text)
{
    QDate day;
    QTime clock;
    const QDateTime local = parseRowDate(text, day, clock) ? QDateTime(day, clock) : QDateTime();
    return quint32((local.isValid() ? local : QDateTime::fromString(text, rowLabelFormat))
                       .toSecsSinceEpoch()) +
           ws2300EpochShift;
}

// The day number is a plain date and time, with no time zone: it is read as a clock reading,
// rounded to the nearest second so that a stored minute comes back as the same minute.
QString FenPrincipale::dayNumberToText(double dayNumber)
{
    const double seconds = std::round((dayNumber - ws3600UnixDay) * secondsPerDay);
    const QDateTime clock = plainClockAt(wrapToUnsigned32(seconds));
    return rowDateText(clock.date(), clock.time());
}

// Parsed as a plain clock reading, so that a time inside a local clock change still exists.
double FenPrincipale::textToDayNumber(const QString& text)
{
    QDate date;
    QTime time;
    if (!parseRowDate(text, date, time)) {
        date =
            QDate::fromString(text.section(QLatin1Char(' '), 0, 0), QStringLiteral("dd/MM/yyyy"));
        time = QTime::fromString(text.section(QLatin1Char(' '), 1, 1), QStringLiteral("hh:mm"));
    }
    const quint32 seconds = quint32(QDateTime(date, time, Qt::UTC).toSecsSinceEpoch());
    return double(seconds) / secondsPerDay + ws3600UnixDay;
}

float FenPrincipale::metresPerSecondToKmh(float metresPerSecond)
{
    return float(metresPerSecond * 3.6);
}

// The quotient by 3.6 rounded to the nearest binary32 can read back, multiplied again, as a
// halfway value rounded the other way ("14.55" stored would show "14.5"). Of the floats next to
// the quotient, the one kept reads back as the text a plain float column shows for the number.
float FenPrincipale::kmhToMetresPerSecond(float kmh, int decimals)
{
    const QString shown = QString::number(double(kmh), 'f', decimals);
    const float nearest = float(kmh / 3.6);
    const auto readsAsShown = [&](float candidate) {
        return QString::number(double(metresPerSecondToKmh(candidate)), 'f', decimals) == shown;
    };
    float below = nearest;
    float above = nearest;
    for (int step = 0; step < 4; ++step) {
        if (readsAsShown(above))
            return above;
        if (readsAsShown(below))
            return below;
        above = std::nextafter(above, HUGE_VALF);
        below = std::nextafter(below, -HUGE_VALF);
    }
    return nearest;
}

// A row label as the table writes it: a real date and time, "dd/MM/yyyy hh:mm".
bool FenPrincipale::isRowDateText(const QString& text)
{
    QDate date;
    QTime time;
    return parseRowDate(text, date, time);
}

// Whether a timestamp of the given kind can hold the date and time of text: written and read
// back, it must give the same text. Dates outside the kind's span would come back as others
// (1979 as 2107 in a DOS date word), and a local time inside a clock change does not exist. For
// the WS2300 seconds that is a local time that exists, within the 2^32 seconds from 1970 that the
// label of a count shows: said so, it costs one conversion of the local clock instead of two,
// which an import of a decade's dates notices.
bool FenPrincipale::timestampHolds(Format::Timestamp stamp, const QString& text)
{
    QDate date;
    QTime time;
    if (!parseRowDate(text, date, time))
        return false;
    if (stamp == Format::Timestamp::Seconds) {
        const QDateTime local(date, time);
        const qint64 seconds = local.toSecsSinceEpoch();
        return local.isValid() && seconds >= 0 && seconds <= qint64(0xFFFFFFFFu);
    }
    std::array<char, 16> scratch{};
    writeTimestamp(stamp, scratch.data(), text);
    return timestampText(stamp, scratch.data()) == text;
}

QString FenPrincipale::scaledText(int value, int divisor)
{
    switch (divisor) {
    case 1:
        return QString::number(qint64(value));
    case 100:
        return QString::number(value / 100.0, 'f', 2);
    case 1000:
        return QString::number(value / 1000.0, 'f', 3);
    default:
        return QString::number(double(value) / divisor, 'f', 1);
    }
}

QString FenPrincipale::floatText(float value, unsigned long integerValue, int decimals)
{
    if (decimals < 0)
        return QString::number(integerValue);
    return QString::number(double(value), 'f', decimals);
}

// Weather readings repeat their values constantly, so the cells of a table share one string
// per distinct value: a month of readings then costs little more than its pointers.
void FenPrincipale::setScaledCell(int row, int column, int value, int divisor)
{
    const quint64 key = cellTextKey(CellTextKind::Scaled, divisor, quint32(value));
    const QString& text = sharedText(cellTexts, key, [=] { return scaledText(value, divisor); });
    model->setData(model->index(row, column), text, Qt::EditRole);
}

void FenPrincipale::setFloatCell(int row, int column, float value, unsigned long integerValue,
                                 int decimals)
{
    const auto make = [=] {
        return floatText(value, integerValue, decimals);
    };
    const QModelIndex cell = model->index(row, column);
    if (decimals < 0 && integerValue > 0xFFFFFFFFul) {
        model->setData(cell, make(), Qt::EditRole);
        return;
    }
    quint32 bits = quint32(integerValue);
    if (decimals >= 0)
        std::memcpy(&bits, &value, sizeof bits);
    const auto kind = decimals >= 0 ? CellTextKind::Float : CellTextKind::Integer;
    model->setData(cell, sharedText(cellTexts, cellTextKey(kind, decimals, bits), make),
                   Qt::EditRole);
}
