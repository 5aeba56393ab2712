#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QDateTime>
#include <QtEndian>

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

qint64 ws2300UnixSeconds(quint32 seconds)
{
    return qint64(quint32(seconds - ws2300EpochShift));
}

// The day number is a plain date and time, with no time zone: it is read as a clock reading,
// rounded to the nearest second so that a stored minute comes back as the same minute.
qint64 ws3600UnixSeconds(double dayNumber)
{
    return wrapToUnsigned32(std::round((dayNumber - ws3600UnixDay) * secondsPerDay));
}

} // namespace

TextFormat::Clock FenPrincipale::timestampClock(Format::Timestamp stamp, const char* record,
                                                TextFormat::LocalClock* localClock)
{
    const char* field = record + Format::timestampOffset(stamp);
    switch (stamp) {
    case Format::Timestamp::DosWords:
        return TextFormat::dosClock(qFromLittleEndian<quint16>(field),
                                    qFromLittleEndian<quint16>(field + 2));
    case Format::Timestamp::Seconds: {
        const qint64 moment = ws2300UnixSeconds(qFromLittleEndian<quint32>(field));
        return localClock ? localClock->at(moment) : TextFormat::localClock(moment);
    }
    case Format::Timestamp::DayNumber:
        return TextFormat::plainClock(ws3600UnixSeconds(qFromLittleEndian<double>(field)));
    }
    return TextFormat::Clock();
}

bool FenPrincipale::parseRowDate(const QString& text, QDate& date, QTime& time)
{
    TextFormat::Clock reading;
    if (!TextFormat::readLabel(text, reading) || TextFormat::minuteKey(reading) < 0)
        return false;
    date = QDate(reading.year, reading.month, reading.day);
    time = QTime(reading.hour, reading.minute);
    return true;
}

// The label of a date of four-digit year, as the table writes it.
QString FenPrincipale::rowDateText(const QDate& date, const QTime& time)
{
    TextFormat::Chars text;
    TextFormat::clock(text, {date.year(), date.month(), date.day(), time.hour(), time.minute()});
    return text.toString();
}

qint64 FenPrincipale::timestampKey(Format::Timestamp stamp, const char* record,
                                   TextFormat::LocalClock& localClock)
{
    const char* field = record + Format::timestampOffset(stamp);
    switch (stamp) {
    case Format::Timestamp::DosWords:
        return TextFormat::minuteKey(timestampClock(stamp, record));
    case Format::Timestamp::Seconds:
        return TextFormat::plainMinuteKey(
            localClock.localSeconds(ws2300UnixSeconds(qFromLittleEndian<quint32>(field))));
    case Format::Timestamp::DayNumber:
        return TextFormat::plainMinuteKey(ws3600UnixSeconds(qFromLittleEndian<double>(field)));
    }
    return -1;
}

QString FenPrincipale::dosDateTimeToText(quint16 time, quint16 date)
{
    TextFormat::Chars text;
    TextFormat::clock(text, TextFormat::dosClock(time, date));
    return text.toString();
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
    TextFormat::Chars text;
    TextFormat::clock(text, TextFormat::localClock(ws2300UnixSeconds(seconds)));
    return text.toString();
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

QString FenPrincipale::dayNumberToText(double dayNumber)
{
    TextFormat::Chars text;
    TextFormat::clock(text, TextFormat::plainClock(ws3600UnixSeconds(dayNumber)));
    return text.toString();
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
    TextFormat::Chars text;
    TextFormat::scaled(text, value, divisor);
    return text.toString();
}

QString FenPrincipale::floatText(float value, unsigned long integerValue, int decimals)
{
    TextFormat::Chars text;
    if (decimals < 0)
        TextFormat::integer(text, integerValue);
    else
        TextFormat::real(text, value, decimals);
    return text.toString();
}
